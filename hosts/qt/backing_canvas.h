#pragma once
// Drawing into a dialog's picture (see ClientArea), shown at once. Positions are logical
// pixels; lines and frames are one logical pixel wide and set whole device pixels without
// smoothing, so they stay sharp and in place at any screen scale, and texts are drawn at
// the screen's resolution.
// Reset() gives the state of a fresh drawing context: black pen, white fill for rectangles,
// black text on a white background, current point (0, 0).

#include <QColor>
#include <QPoint>
#include <functional>
#include <optional>

#include "platform/desktop.h"

class QPainter;

namespace zav::qt {

class ClientArea;

class BackingCanvas final : public Canvas {
 public:
  // nullptr: a canvas that draws nowhere (for a window that is not open). The canvas's
  // pixel (0, 0) is the area's pixel `origin`.
  explicit BackingCanvas(ClientArea* target, QPoint origin = QPoint(0, 0));

  void Reset();

  void SetPen(Colour colour) override;
  // Frames left..right-1 x top..bottom-1 with the pen and fills the inside white.
  void Rectangle(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  // From the current point up to (x, y), leaving (x, y) itself out, through the pixels
  // nearest to the line, as the platform's line call.
  void LineTo(int x, int y) override;
  void SetTextColour(Colour colour) override;
  // (x, y) is the top-left corner of the text; the area's font, without smoothing.
  void Text(int x, int y, std::string_view text) override;
  // What charts draw, as on a canvas control (see PainterCanvas), into the picture.
  void SetPenStyle(int widthPx, LineStyle style) override;
  void Polyline(std::span<const PixelPoint> points) override;
  void FillRectangle(PixelBox box, Colour colour) override;
  zav::PixelSize MeasureText(std::string_view text) override;
  void PlacedText(TextPlace place, std::string_view text) override;
  void ClipTo(PixelBox box) override;
  void Unclip() override;

 private:
  void Draw(const std::function<void(QPainter&)>& paint);
  void DrawCharted(const std::function<void(Canvas&)>& draw);

  ClientArea* target_;
  QPoint origin_;  // px in the client area
  QColor pen_;
  QColor textColour_;
  QPoint current_;
  int penWidth_ = 1;  // px
  LineStyle style_ = LineStyle::Solid;
  std::optional<PixelBox> clip_;
};

}  // namespace zav::qt
