#include "hosts/qt/backing_canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include "hosts/qt/client_area.h"
#include "hosts/qt/control_text.h"
#include "hosts/qt/line_pixels.h"
#include "hosts/qt/painter_canvas.h"

namespace zav::qt {

namespace {

QColor ToQColor(Colour colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

// Sets whole device pixels, so a line has no blended edge at any scale.
void FillDevicePixels(QImage& picture, const std::vector<QRect>& runs, QColor colour) {
  const QRgb pixel = colour.rgba();
  for (const QRect& run : runs) {
    const QRect inside = run.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
      for (int x = inside.left(); x <= inside.right(); ++x) {
        picture.setPixel(x, y, pixel);
      }
    }
  }
}

}  // namespace

BackingCanvas::BackingCanvas(ClientArea* target, QPoint origin) : target_(target), origin_(origin) {
  Reset();
}

void BackingCanvas::Reset() {
  pen_ = Qt::black;
  textColour_ = Qt::black;
  current_ = QPoint(0, 0);
  penWidth_ = 1;
  style_ = LineStyle::Solid;
  clip_.reset();
}

void BackingCanvas::SetPen(Colour colour) {
  pen_ = ToQColor(colour);
}

void BackingCanvas::Rectangle(int left, int top, int right, int bottom) {
  const QRect covered(QPoint(left, top) + origin_, QPoint(right - 1, bottom - 1) + origin_);
  if (covered.isEmpty()) {
    return;
  }
  Draw([&](QPainter& painter) {
    painter.fillRect(covered, Qt::white);
    // The outline is the outermost pixels of `covered`, filled as whole logical pixels so
    // that it stays on them at any scale.
    painter.fillRect(QRect(covered.left(), covered.top(), covered.width(), 1), pen_);
    painter.fillRect(QRect(covered.left(), covered.bottom(), covered.width(), 1), pen_);
    painter.fillRect(QRect(covered.left(), covered.top(), 1, covered.height()), pen_);
    painter.fillRect(QRect(covered.right(), covered.top(), 1, covered.height()), pen_);
  });
}

void BackingCanvas::MoveTo(int x, int y) {
  current_ = QPoint(x, y);
}

// The line's own pixels rather than Qt's line drawing: Qt sets the end point too, and puts
// the line through pixel corners where the platform puts it through pixel centres.
void BackingCanvas::LineTo(int x, int y) {
  const QPoint from = current_;
  current_ = QPoint(x, y);
  if (target_ == nullptr) {
    return;
  }
  QImage& picture = target_->Picture();
  FillDevicePixels(
      picture, LinePixels(from + origin_, current_ + origin_, picture.devicePixelRatio()), pen_);
  target_->ShowPicture();
}

void BackingCanvas::SetTextColour(Colour colour) {
  textColour_ = ToQColor(colour);
}

void BackingCanvas::Text(int x, int y, std::string_view text) {
  Draw([&](QPainter& painter) {
    // Whole pixels in the text colour, as the platform's plain bitmap font gives.
    QFont font = target_->font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(textColour_);
    // A fresh drawing context writes text on an opaque white background.
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()) + origin_, FromUtf8(text));
  });
}

void BackingCanvas::SetPenStyle(int widthPx, LineStyle style) {
  penWidth_ = std::max(widthPx, 1);
  style_ = style;
}

// The chart calls go through a painter canvas set up as this canvas stands.
void BackingCanvas::Polyline(std::span<const PixelPoint> points) {
  DrawCharted([&](Canvas& canvas) { canvas.Polyline(points); });
}

void BackingCanvas::FillRectangle(PixelBox box, Colour colour) {
  DrawCharted([&](Canvas& canvas) { canvas.FillRectangle(box, colour); });
}

zav::PixelSize BackingCanvas::MeasureText(std::string_view text) {
  if (target_ == nullptr) {
    return {};
  }
  const QFontMetrics metrics(target_->font());
  return {metrics.horizontalAdvance(FromUtf8(text)), metrics.height()};
}

void BackingCanvas::PlacedText(TextPlace place, std::string_view text) {
  DrawCharted([&](Canvas& canvas) { canvas.PlacedText(place, text); });
}

void BackingCanvas::ClipTo(PixelBox box) {
  clip_ = box;
}

void BackingCanvas::Unclip() {
  clip_.reset();
}

void BackingCanvas::DrawCharted(const std::function<void(Canvas&)>& draw) {
  Draw([&](QPainter& painter) {
    painter.setFont(target_->font());
    painter.translate(origin_);
    PainterCanvas canvas(painter);
    canvas.SetPen({static_cast<std::uint8_t>(pen_.red()), static_cast<std::uint8_t>(pen_.green()),
                   static_cast<std::uint8_t>(pen_.blue())});
    canvas.SetPenStyle(penWidth_, style_);
    canvas.SetTextColour({static_cast<std::uint8_t>(textColour_.red()),
                          static_cast<std::uint8_t>(textColour_.green()),
                          static_cast<std::uint8_t>(textColour_.blue())});
    if (clip_) {
      canvas.ClipTo(*clip_);
    }
    draw(canvas);
  });
}

void BackingCanvas::Draw(const std::function<void(QPainter&)>& paint) {
  if (target_ == nullptr) {
    return;
  }
  {
    QPainter painter(&target_->Picture());
    painter.setRenderHint(QPainter::Antialiasing, false);
    paint(painter);
  }
  target_->ShowPicture();
}

}  // namespace zav::qt
