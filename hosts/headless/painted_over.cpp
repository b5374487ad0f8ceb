#include "hosts/headless/painted_over.h"

#include <algorithm>

#include "hosts/headless/recording_canvas.h"

namespace zav::headless {

namespace {

int StartAlong(int at, int length, TextAlign align) {
  return align == TextAlign::Start    ? at
         : align == TextAlign::Centre ? at - length / 2
                                      : at - length;
}

PixelBox TextBox(const DrawOp& op) {
  std::vector<DrawOp> unused;
  const PixelSize size = RecordingCanvas(unused).MeasureText(op.text);
  const int left = StartAlong(op.x1, size.width, op.across);
  const int top = StartAlong(op.y1, size.height, op.down);
  return {left, top, left + size.width, top + size.height};
}

PixelBox PointsBox(const std::vector<PixelPoint>& points) {
  PixelBox box{points.front().x, points.front().y, points.front().x, points.front().y};
  for (const PixelPoint& point : points) {
    box.left = std::min(box.left, point.x);
    box.top = std::min(box.top, point.y);
    box.right = std::max(box.right, point.x);
    box.bottom = std::max(box.bottom, point.y);
  }
  return {box.left, box.top, box.right + 1, box.bottom + 1};
}

}  // namespace

std::optional<PixelBox> DrawnBox(const DrawOp& op) {
  switch (op.kind) {
    case DrawOp::Kind::Rectangle:
    case DrawOp::Kind::Fill:
      return PixelBox{op.x1, op.y1, op.x2, op.y2};
    case DrawOp::Kind::Text:
    case DrawOp::Kind::PlacedText:
      return TextBox(op);  // Text's place is its top-left corner: Start, Start
    case DrawOp::Kind::LineTo:
      return PixelBox{op.x1, op.y1, op.x1 + 1, op.y1 + 1};
    case DrawOp::Kind::Polyline:
      return op.points.empty() ? std::nullopt : std::optional(PointsBox(op.points));
    default:
      return std::nullopt;
  }
}

void PaintOver(std::vector<DrawOp>& drawing, PixelBox part) {
  std::erase_if(drawing, [&](const DrawOp& op) {
    const std::optional<PixelBox> box = DrawnBox(op);
    return box && box->Overlaps(part);
  });
}

}  // namespace zav::headless
