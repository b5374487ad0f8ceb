#pragma once
// A canvas that draws on another with its (0, 0) at `origin` of that one: a chart drawn
// under a caption in a saved picture.

#include <vector>

#include "platform/canvas.h"

namespace zav {

class OffsetCanvas final : public Canvas {
 public:
  OffsetCanvas(Canvas& target, PixelPoint origin) : target_(target), origin_(origin) {}

  void SetPen(Colour colour) override { target_.SetPen(colour); }
  void Rectangle(int left, int top, int right, int bottom) override {
    target_.Rectangle(left + origin_.x, top + origin_.y, right + origin_.x, bottom + origin_.y);
  }
  void MoveTo(int x, int y) override { target_.MoveTo(x + origin_.x, y + origin_.y); }
  void LineTo(int x, int y) override { target_.LineTo(x + origin_.x, y + origin_.y); }
  void SetTextColour(Colour colour) override { target_.SetTextColour(colour); }
  void Text(int x, int y, std::string_view text) override {
    target_.Text(x + origin_.x, y + origin_.y, text);
  }
  void SetPenStyle(int widthPx, LineStyle style) override { target_.SetPenStyle(widthPx, style); }
  void Polyline(std::span<const PixelPoint> points) override {
    moved_.clear();
    for (const PixelPoint point : points) {
      moved_.push_back(Moved(point));
    }
    target_.Polyline(moved_);
  }
  void FillRectangle(PixelBox box, Colour colour) override {
    target_.FillRectangle(Moved(box), colour);
  }
  PixelSize MeasureText(std::string_view text) override { return target_.MeasureText(text); }
  void PlacedText(TextPlace place, std::string_view text) override {
    place.at = Moved(place.at);
    target_.PlacedText(place, text);
  }
  void ClipTo(PixelBox box) override { target_.ClipTo(Moved(box)); }
  void Unclip() override { target_.Unclip(); }

 private:
  PixelPoint Moved(PixelPoint point) const { return {point.x + origin_.x, point.y + origin_.y}; }
  PixelBox Moved(PixelBox box) const {
    return {box.left + origin_.x, box.top + origin_.y, box.right + origin_.x,
            box.bottom + origin_.y};
  }

  Canvas& target_;
  PixelPoint origin_;
  std::vector<PixelPoint> moved_;
};

}  // namespace zav
