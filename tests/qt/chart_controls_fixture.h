#pragma once
// A dialog with one control of each kind a chart window needs (canvas control, check box,
// horizontal scroll bar, table), run on the Qt host for the chart control tests: the canvas's
// Paint draws a green ground and a red one-pixel polyline, or what the test gives instead.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "hosts/qt/qt_desktop.h"
#include "tests/qt/dialog_script.h"

namespace zav::test {

inline constexpr int kCanvasId = 1, kBoxId = 2, kBarId = 3, kTableId = 4;
inline constexpr Colour kGround{10, 200, 30};
inline constexpr Colour kChartRed{255, 0, 0};

const DialogTemplate& ChartTemplate();

class ChartControlsTest : public testing::Test {
 protected:
  // Runs `step` once the dialog is up, in its modal loop, then ends it.
  void Run(const std::function<void(WindowRef)>& step);

  // The ground and the polyline (10, 10) - (60, 10) - (60, 40) in kChartRed.
  static void Paint(Canvas& canvas, PixelSize size);

  // The events of one kind the dialog got so far.
  std::vector<DialogEvent> Of(DialogMessage message) const;

  // Lets every scheduled repaint happen.
  static void Settle();

  QtDesktop desktop_;
  DialogScript* script_ = nullptr;
  int paints_ = 0;
  std::function<void(Canvas&, PixelSize)> paint_;  // the canvas's Paint; none: Paint
};

}  // namespace zav::test
