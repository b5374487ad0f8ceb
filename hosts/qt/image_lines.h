#pragma once
// One-pixel solid lines and filled boxes set straight into the pixels of a 32-bit image, for
// the painter canvas when it paints an image 1:1. QPainter's aliased line costs some 500
// instructions a segment before it sets a pixel; a strip chart's redraw has some 20,000
// segments, most of them a pixel or two long. Here a segment costs a few dozen instructions
// and a pixel a few.
//
// The pixels are those nearest to the ideal line: one a step along the longer axis, from the
// start point up to the end point, the end point left out (the next segment starts there);
// the polyline's last point is set as well.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <optional>
#include <span>
#include <vector>

#include "platform/canvas.h"

namespace zav::qt {

// An image a painter paints 1:1, where the canvas's pixel (0, 0) lies in it, and the parts
// the painter may paint (a widget's paint may cover only parts of the window's image).
struct DirectImage {
  QImage* image = nullptr;
  QPoint origin;               // px in the image
  std::vector<QRect> allowed;  // px in the image
};

// The image `painter` paints on, when its pixels can be set directly: a 32-bit image (a
// picture, or the window's image behind a widget's paint) with no scaling, no clip of the
// caller's, a repainted area of a few rectangles, and plain drawing over what is there;
// otherwise nothing.
std::optional<DirectImage> DirectImageOf(QPainter& painter);

// Joins the points (canvas pixels) with a one-pixel line in `colour`, setting only pixels
// inside `clip` (canvas pixels).
void DrawPolylineInto(const DirectImage& target, std::span<const PixelPoint> points,
                      const QRect& clip, QRgb colour);

// Fills `box` (canvas pixels) with the opaque `colour` inside `clip`. QPainter's fill of a
// box costs some 10,000 instructions before it sets a pixel; a chart's grid lines, ticks and
// frame are a few dozen thin boxes a redraw.
void FillBoxInto(const DirectImage& target, const QRect& box, const QRect& clip, QRgb colour);

}  // namespace zav::qt
