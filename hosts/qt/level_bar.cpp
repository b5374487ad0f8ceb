#include "hosts/qt/level_bar.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cstdint>

namespace zav::qt {

namespace {
constexpr int kFrameWidthPx = 1;
}

LevelBar::LevelBar(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  // The bar paints every pixel of its rect: nothing behind it needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LevelBar::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
  update();
}

void LevelBar::SetPosition(int position) {
  if (position != position_) {
    position_ = position;
    update();
  }
}

void LevelBar::SetColour(QColor colour) {
  if (colour_ == colour) {
    return;
  }
  colour_ = colour;
  update();
}

int LevelBar::Position() const {
  if (high_ <= low_) {
    return low_;
  }
  return std::clamp(position_, low_, high_);
}

QColor LevelBar::FillColour() const {
  return colour_.value_or(palette().color(QPalette::Highlight));
}

int LevelBar::FilledWidth() const {
  if (high_ <= low_) {
    return 0;
  }
  // 64 bits: a range of tens of thousands times a width of hundreds of pixels stays exact.
  const std::int64_t done = Position() - low_;
  const std::int64_t span = static_cast<std::int64_t>(high_) - low_;
  return static_cast<int>(done * Inside().width() / span);
}

QRect LevelBar::Inside() const {
  return rect().adjusted(kFrameWidthPx, kFrameWidthPx, -kFrameWidthPx, -kFrameWidthPx);
}

void LevelBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  qDrawShadePanel(&painter, rect(), palette(), true, kFrameWidthPx);
  const QRect inside = Inside();
  painter.fillRect(inside, palette().color(QPalette::Button));
  painter.fillRect(QRect(inside.topLeft(), QSize(FilledWidth(), inside.height())), FillColour());
}

}  // namespace zav::qt
