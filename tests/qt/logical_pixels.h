#pragma once
// A grabbed picture read in the window's own (logical) pixels at any screen scale: with
// QT_SCALE_FACTOR=2 a logical pixel is 2 x 2 device pixels of the picture, and a line drawn
// at the screen's resolution may cover only some of them.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace zav::test {

// Device pixels to a logical pixel along each axis.
inline int RatioOf(const QImage& picture) {
  return std::max(1, static_cast<int>(std::lround(picture.devicePixelRatio())));
}

// The device pixels of logical pixel `at`.
inline QRect DevicePixelsOf(const QImage& picture, QPoint at) {
  const int ratio = RatioOf(picture);
  return QRect(at * ratio, QSize(ratio, ratio));
}

// The colour of logical pixel `at` when all its device pixels have it, else an invalid colour.
inline QColor LogicalColour(const QImage& picture, QPoint at) {
  const QRect block = DevicePixelsOf(picture, at);
  const QColor first = picture.pixelColor(block.topLeft());
  for (int y = block.top(); y <= block.bottom(); ++y) {
    for (int x = block.left(); x <= block.right(); ++x) {
      if (picture.pixelColor(x, y) != first) {
        return QColor();
      }
    }
  }
  return first;
}

// True when one of logical pixel `at`'s device pixels has `colour`.
inline bool LogicalShows(const QImage& picture, QPoint at, const QColor& colour) {
  const QRect block = DevicePixelsOf(picture, at) & picture.rect();
  for (int y = block.top(); y <= block.bottom(); ++y) {
    for (int x = block.left(); x <= block.right(); ++x) {
      if (picture.pixelColor(x, y) == colour) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace zav::test
