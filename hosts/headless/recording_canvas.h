#pragma once
// A canvas that records what is drawn, so tests can check the picture operation by operation.
// Text is measured as if every character (UTF-8 code point) took kCharWidthPx by
// kTextHeightPx: enough for layouts to be checked, with no font involved.

#include <optional>
#include <vector>

#include "hosts/headless/dialog_record.h"
#include "hosts/headless/painted_over.h"
#include "platform/desktop.h"

namespace zav::headless {

inline constexpr int kCharWidthPx = 6;
inline constexpr int kTextHeightPx = 13;

class RecordingCanvas : public Canvas {
 public:
  // `part`: the paint's part of its control (see Desktop::RedrawPart); none, the whole.
  explicit RecordingCanvas(std::vector<DrawOp>& drawing, std::optional<PixelBox> part = {})
      : drawing_(drawing), part_(part) {}

  void SetPen(Colour colour) override { Add({.kind = DrawOp::Kind::Pen, .colour = colour}); }
  void Rectangle(int left, int top, int right, int bottom) override {
    Add({DrawOp::Kind::Rectangle, left, top, right, bottom, {}, {}});
  }
  void MoveTo(int x, int y) override { Add({DrawOp::Kind::MoveTo, x, y, 0, 0, {}, {}}); }
  void LineTo(int x, int y) override { Add({DrawOp::Kind::LineTo, x, y, 0, 0, {}, {}}); }
  void SetTextColour(Colour colour) override {
    Add({.kind = DrawOp::Kind::TextColour, .colour = colour});
  }
  void Text(int x, int y, std::string_view text) override {
    Add({DrawOp::Kind::Text, x, y, 0, 0, {}, std::string(text)});
  }
  void SetPenStyle(int widthPx, LineStyle style) override {
    Add({.kind = DrawOp::Kind::PenStyle, .x1 = widthPx, .style = style});
  }
  void Polyline(std::span<const PixelPoint> points) override {
    Add({.kind = DrawOp::Kind::Polyline, .points = {points.begin(), points.end()}});
  }
  void FillRectangle(PixelBox box, Colour colour) override {
    Add({DrawOp::Kind::Fill, box.left, box.top, box.right, box.bottom, colour, {}});
  }
  PixelSize MeasureText(std::string_view text) override {
    int characters = 0;
    for (const char byte : text) {
      characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    }
    return {characters * kCharWidthPx, kTextHeightPx};
  }
  void PlacedText(TextPlace place, std::string_view text) override {
    Add({.kind = DrawOp::Kind::PlacedText,
         .x1 = place.at.x,
         .y1 = place.at.y,
         .text = std::string(text),
         .across = place.across,
         .down = place.down});
  }
  void ClipTo(PixelBox box) override {
    Add({DrawOp::Kind::Clip, box.left, box.top, box.right, box.bottom, {}, {}});
  }
  void Unclip() override { Add({.kind = DrawOp::Kind::Unclip}); }
  bool NeedsPainting(PixelBox box) const override { return !part_ || part_->Overlaps(box); }
  // The recording keeps whole operations: a paint of a part draws again, whole, every
  // operation that touches it (see PaintOver), and records none that draw wholly outside it.
  PixelBox PaintedWithin(PixelBox box) const override {
    return NeedsPainting(box) ? box : PixelBox{};
  }

 private:
  void Add(DrawOp op);
  std::vector<DrawOp>& drawing_;
  std::optional<PixelBox> part_;
};

inline void RecordingCanvas::Add(DrawOp op) {
  if (part_) {
    if (const std::optional<PixelBox> drawn = DrawnBox(op); drawn && !drawn->Overlaps(*part_)) {
      return;
    }
  }
  drawing_.push_back(std::move(op));
}

}  // namespace zav::headless
