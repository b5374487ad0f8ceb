#pragma once
// A canvas that records what is drawn, so tests can check the picture operation by operation.

#include <vector>

#include "hosts/headless/dialog_record.h"
#include "platform/desktop.h"

namespace zav::headless {

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(std::vector<DrawOp>& drawing) : drawing_(drawing) {}

  void SetPen(Colour colour) override { Add({DrawOp::Kind::Pen, 0, 0, 0, 0, colour, {}}); }
  void Rectangle(int left, int top, int right, int bottom) override {
    Add({DrawOp::Kind::Rectangle, left, top, right, bottom, {}, {}});
  }
  void MoveTo(int x, int y) override { Add({DrawOp::Kind::MoveTo, x, y, 0, 0, {}, {}}); }
  void LineTo(int x, int y) override { Add({DrawOp::Kind::LineTo, x, y, 0, 0, {}, {}}); }
  void SetTextColour(Colour colour) override {
    Add({DrawOp::Kind::TextColour, 0, 0, 0, 0, colour, {}});
  }
  void Text(int x, int y, std::string_view text) override {
    Add({DrawOp::Kind::Text, x, y, 0, 0, {}, std::string(text)});
  }

 private:
  void Add(DrawOp op) { drawing_.push_back(std::move(op)); }
  std::vector<DrawOp>& drawing_;
};

}  // namespace zav::headless
