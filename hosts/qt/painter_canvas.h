#pragma once
// A canvas on a QPainter: a canvas control's surface during its Paint, or a picture saved as
// PNG. Lines are drawn without smoothing, so a chart's grid and lines stay on whole pixels
// and a redraw costs little; on an image painted 1:1 the one-pixel solid lines are set
// straight into its pixels (see image_lines.h). Texts are in the painter's font.
// On a scaled screen (2 device pixels to a canvas pixel at 200 %) a pen is as wide as on a
// 1:1 one, counted in canvas pixels, and covers the same canvas pixels.

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <optional>
#include <vector>

#include "hosts/qt/image_lines.h"
#include "platform/canvas.h"

namespace zav::qt {

class TextCache;

class PainterCanvas final : public Canvas {
 public:
  // `painter` must outlive the canvas; it is set to the canvas's starting state. `texts`,
  // when given, keeps the texts' layout from one paint to the next.
  explicit PainterCanvas(QPainter& painter, TextCache* texts = nullptr);

  // The part of a widget its paint event repaints (px); the rest keeps its pixels.
  void PaintOnly(const QRegion& region) { painted_ = region; }

  void SetPen(Colour colour) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetTextColour(Colour colour) override;
  void Text(int x, int y, std::string_view text) override;
  void SetPenStyle(int widthPx, LineStyle style) override;
  void Polyline(std::span<const PixelPoint> points) override;
  void FillRectangle(PixelBox box, Colour colour) override;
  zav::PixelSize MeasureText(std::string_view text) override;
  void PlacedText(TextPlace place, std::string_view text) override;
  void ClipTo(PixelBox box) override;
  void Unclip() override;
  bool NeedsPainting(PixelBox box) const override;
  PixelBox PaintedWithin(PixelBox box) const override;

 private:
  void UsePen();
  // The whole image, in canvas pixels, while drawing straight into it.
  QRect Everywhere() const;
  void ShiftLines(int sign);

  QPainter& painter_;
  TextCache* texts_ = nullptr;
  double ratio_ = 1.0;  // device pixels to a canvas pixel
  QColor pen_ = Qt::black;
  int penWidth_ = 1;  // px
  LineStyle style_ = LineStyle::Solid;
  QColor textColour_ = Qt::black;
  QPoint current_;
  std::vector<QPoint> points_;  // kept between polylines: no allocation per line
  std::optional<DirectImage> direct_;
  std::optional<QRect> clip_;  // px, while ClipTo holds
  std::optional<QRegion> painted_;
};

}  // namespace zav::qt
