#pragma once
// Drawing on a window's surface or on a picture, in pixels with (0, 0) at the top left.
//
// The first six calls are what a dialog's own picture needs (the Parameters dialog's chart):
// a one-pixel pen, framed white rectangles, lines and text on an opaque white ground. The
// rest are what the charts need and nothing more: a pen of any width, solid or dashed, for
// lines and polylines; filled rectangles; text measured and placed by any of its corners,
// edges or its centre, on a transparent ground; and clipping to one rectangle.
//
// A canvas starts with a black solid pen of width 1, a white fill for rectangles, black text
// and no clipping.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

namespace zav {

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(Colour, Colour) = default;
};

struct PixelPoint {
  int x = 0;  // px
  int y = 0;  // px
  friend bool operator==(PixelPoint, PixelPoint) = default;
};

// Pixels left..right-1 by top..bottom-1.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(PixelPoint point) const {
    return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
  }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Overlaps(const PixelBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom &&
           !Empty() && !other.Empty();
  }
  // The part both boxes hold; empty when they do not overlap.
  PixelBox Within(const PixelBox& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  // The smallest box holding both; an empty box adds nothing.
  PixelBox Around(const PixelBox& other) const {
    if (Empty()) {
      return other;
    }
    if (other.Empty()) {
      return *this;
    }
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  friend bool operator==(PixelBox, PixelBox) = default;
};

struct PixelSize {
  int width = 0;   // px
  int height = 0;  // px
  friend bool operator==(PixelSize, PixelSize) = default;
};

enum class LineStyle { Solid, Dashed };

// Which point of the text's box the position given names.
enum class TextAlign { Start, Centre, End };  // left, centre, right / top, middle, bottom
struct TextPlace {
  PixelPoint at;
  TextAlign across = TextAlign::Start;
  TextAlign down = TextAlign::Start;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // What dialogs draw.
  virtual void SetPen(Colour colour) = 0;
  // Frames the box's outermost pixels with the pen and fills the inside white.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // From the current point to (x, y), leaving (x, y) itself out.
  virtual void LineTo(int x, int y) = 0;
  virtual void SetTextColour(Colour colour) = 0;
  // (x, y) is the top-left corner of the text, written on an opaque white ground.
  virtual void Text(int x, int y, std::string_view text) = 0;

  // What charts draw.
  // The pen's width (px, at least 1) and style for LineTo and Polyline; SetPen keeps them.
  virtual void SetPenStyle(int widthPx, LineStyle style) = 0;
  // Joins the points in order with the pen; fewer than two points draw nothing.
  virtual void Polyline(std::span<const PixelPoint> points) = 0;
  // Fills the box with the colour, no frame.
  virtual void FillRectangle(PixelBox box, Colour colour) = 0;
  // The box the text takes in the canvas's font (px).
  virtual PixelSize MeasureText(std::string_view text) = 0;
  // The text in the text colour on a transparent ground, its box placed as `place` says.
  virtual void PlacedText(TextPlace place, std::string_view text) = 0;
  // Nothing is drawn outside the box until the next ClipTo or Unclip.
  virtual void ClipTo(PixelBox box) = 0;
  virtual void Unclip() = 0;
  // Whether any of the box is painted now. A canvas control's paint asked for a part of it
  // (see Desktop::RedrawPart) keeps the pixels outside that part as they were and drops what
  // is drawn there, so a drawing may leave out what lies wholly outside it.
  virtual bool NeedsPainting(PixelBox /*box*/) const { return true; }
  // The smallest box round what this paint paints of `box` (empty: none of it), for a
  // drawing that can leave out what lies outside it.
  virtual PixelBox PaintedWithin(PixelBox box) const { return box; }
};

}  // namespace zav
