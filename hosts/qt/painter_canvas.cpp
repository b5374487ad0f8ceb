#include "hosts/qt/painter_canvas.h"

#include <QFontMetrics>
#include <algorithm>

#include "hosts/qt/control_text.h"
#include "hosts/qt/text_cache.h"

namespace zav::qt {

namespace {

QColor ToQColor(Colour colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

QRect ToQRect(PixelBox box) {
  return QRect(box.left, box.top, std::max(box.Width(), 0), std::max(box.Height(), 0));
}

// The left or top edge of a text `extent` px long whose `align` point is at `at`.
int StartOf(int at, int extent, TextAlign align) {
  switch (align) {
    case TextAlign::Start:
      return at;
    case TextAlign::Centre:
      return at - extent / 2;
    case TextAlign::End:
      return at - extent;
  }
  return at;
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, TextCache* texts)
    : painter_(painter), texts_(texts) {
  if (const QPaintDevice* device = painter_.device()) {
    ratio_ = device->devicePixelRatioF();
  }
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setClipping(false);
  UsePen();
  direct_ = DirectImageOf(painter_);
}

QRect PainterCanvas::Everywhere() const {
  return QRect(-direct_->origin, direct_->image->size());
}

void PainterCanvas::UsePen() {
  // A cosmetic pen's width is in device pixels.
  QPen pen(pen_, penWidth_ * ratio_, style_ == LineStyle::Dashed ? Qt::DashLine : Qt::SolidLine);
  pen.setCosmetic(true);
  painter_.setPen(pen);
}

void PainterCanvas::SetPen(Colour colour) {
  pen_ = ToQColor(colour);
  UsePen();
}

void PainterCanvas::SetPenStyle(int widthPx, LineStyle style) {
  penWidth_ = std::max(widthPx, 1);
  style_ = style;
  UsePen();
}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  const QRect covered(QPoint(left, top), QPoint(right - 1, bottom - 1));
  if (covered.isEmpty()) {
    return;
  }
  painter_.fillRect(covered, Qt::white);
  painter_.fillRect(QRect(covered.left(), covered.top(), covered.width(), 1), pen_);
  painter_.fillRect(QRect(covered.left(), covered.bottom(), covered.width(), 1), pen_);
  painter_.fillRect(QRect(covered.left(), covered.top(), 1, covered.height()), pen_);
  painter_.fillRect(QRect(covered.right(), covered.top(), 1, covered.height()), pen_);
}

// Qt centres a line on the corner where a canvas pixel's device pixels meet: on a scaled
// screen a line of odd width moves half a canvas pixel onto their middle (`sign` 1), as it
// lies on a 1:1 picture, and back (-1). 1:1 nothing moves.
void PainterCanvas::ShiftLines(int sign) {
  if (ratio_ > 1.0 && penWidth_ % 2 == 1) {
    painter_.translate(0.5 * sign, 0.5 * sign);
  }
}

void PainterCanvas::MoveTo(int x, int y) {
  current_ = QPoint(x, y);
}

void PainterCanvas::LineTo(int x, int y) {
  ShiftLines(1);
  painter_.drawLine(current_, QPoint(x, y));
  ShiftLines(-1);
  current_ = QPoint(x, y);
}

void PainterCanvas::SetTextColour(Colour colour) {
  textColour_ = ToQColor(colour);
}

void PainterCanvas::Text(int x, int y, std::string_view text) {
  painter_.save();
  painter_.setPen(textColour_);
  painter_.setBackgroundMode(Qt::OpaqueMode);
  painter_.setBackground(Qt::white);
  painter_.drawText(QPoint(x, y + painter_.fontMetrics().ascent()), FromUtf8(text));
  painter_.restore();
}

void PainterCanvas::Polyline(std::span<const PixelPoint> points) {
  if (points.size() < 2) {
    return;
  }
  if (direct_ && penWidth_ == 1 && style_ == LineStyle::Solid) {
    DrawPolylineInto(*direct_, points, clip_.value_or(Everywhere()), pen_.rgb());
    return;
  }
  points_.clear();
  for (const PixelPoint point : points) {
    points_.emplace_back(point.x, point.y);
  }
  ShiftLines(1);
  painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
  ShiftLines(-1);
}

void PainterCanvas::FillRectangle(PixelBox box, Colour colour) {
  if (!NeedsPainting(box)) {  // the painter's clipping costs more than this test
    return;
  }
  // A thin box (a grid line, a tick) straight into the pixels; a large one by the painter,
  // whose fill sets many pixels an instruction.
  constexpr long kLargestDirectPx = 4096;
  if (direct_ && static_cast<long>(box.Width()) * box.Height() <= kLargestDirectPx) {
    FillBoxInto(*direct_, ToQRect(box), clip_.value_or(Everywhere()), ToQColor(colour).rgb());
    return;
  }
  painter_.fillRect(ToQRect(box), ToQColor(colour));
}

zav::PixelSize PainterCanvas::MeasureText(std::string_view text) {
  if (texts_ != nullptr) {
    const QSize size = texts_->Of(text, painter_.font()).size;
    return {size.width(), size.height()};
  }
  const QFontMetrics metrics = painter_.fontMetrics();
  return {metrics.horizontalAdvance(FromUtf8(text)), metrics.height()};
}

void PainterCanvas::PlacedText(TextPlace place, std::string_view text) {
  if (texts_ != nullptr && direct_) {  // 1:1: the text's pixels, copied
    const TextCache::Entry& cached = texts_->PixelsOf(text, painter_.font(), textColour_);
    const int left = StartOf(place.at.x, cached.size.width(), place.across);
    const int top = StartOf(place.at.y, cached.size.height(), place.down);
    if (!NeedsPainting({left, top, left + cached.size.width(), top + cached.size.height()})) {
      return;
    }
    painter_.drawImage(
        QPoint(left, top) - QPoint(TextCache::kPixelsMargin, TextCache::kPixelsMargin),
        cached.pixels);
    return;
  }
  if (texts_ != nullptr) {
    const TextCache::Entry& cached = texts_->Of(text, painter_.font());
    const int left = StartOf(place.at.x, cached.size.width(), place.across);
    const int top = StartOf(place.at.y, cached.size.height(), place.down);
    const QPen pen = painter_.pen();
    painter_.setPen(textColour_);
    painter_.drawStaticText(left, top, cached.text);
    painter_.setPen(pen);
    return;
  }
  const QString shown = FromUtf8(text);
  const QFontMetrics metrics = painter_.fontMetrics();
  const int left = StartOf(place.at.x, metrics.horizontalAdvance(shown), place.across);
  const int top = StartOf(place.at.y, metrics.height(), place.down);
  painter_.save();
  painter_.setPen(textColour_);
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.drawText(QPoint(left, top + metrics.ascent()), shown);
  painter_.restore();
}

void PainterCanvas::ClipTo(PixelBox box) {
  clip_ = ToQRect(box);
  painter_.setClipRect(*clip_);
}

void PainterCanvas::Unclip() {
  clip_.reset();
  painter_.setClipping(false);
}

bool PainterCanvas::NeedsPainting(PixelBox box) const {
  return !painted_ || painted_->intersects(ToQRect(box));
}

PixelBox PainterCanvas::PaintedWithin(PixelBox box) const {
  if (!painted_) {
    return box;
  }
  const QRect within = (*painted_ & ToQRect(box)).boundingRect();
  return within.isEmpty()
             ? PixelBox{}
             : PixelBox{within.left(), within.top(), within.right() + 1, within.bottom() + 1};
}

}  // namespace zav::qt
