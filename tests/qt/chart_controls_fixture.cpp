#include "tests/qt/chart_controls_fixture.h"

#include <QApplication>
#include <array>

namespace zav::test {

namespace {

constexpr int kChartStepTimerId = 1;

}  // namespace

const DialogTemplate& ChartTemplate() {
  static constexpr std::array kControls{
      ControlTemplate{kCanvasId, ControlKind::CanvasControl, {5, 5, 200, 100}, ""},
      ControlTemplate{kBoxId, ControlKind::CheckBox, {5, 108, 40, 10}, "RPM"},
      ControlTemplate{kBarId, ControlKind::HorizontalScrollBar, {5, 120, 200, 10}, ""},
      ControlTemplate{kTableId, ControlKind::Table, {210, 5, 80, 60}, ""},
  };
  static const DialogTemplate kTemplate{.id = 4100,
                                        .title = "Chart",
                                        .rect = {0, 0, 300, 135},
                                        .sizingBorder = true,
                                        .controls = kControls};
  return kTemplate;
}

void ChartControlsTest::Run(const std::function<void(WindowRef)>& step) {
  DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kChartStepTimerId, 20);
    } else if (event.message == DialogMessage::Paint && event.id == kCanvasId) {
      ++paints_;
      (paint_ ? paint_ : Paint)(desktop.ControlCanvas(window, kCanvasId),
                                desktop.ControlSize(window, kCanvasId));
    } else if (event.message == DialogMessage::Timer && event.id == kChartStepTimerId) {
      desktop.KillTimer(window, kChartStepTimerId);
      step(window);
      desktop.EndDialog(window, 0);
    }
  });
  script_ = &script;
  desktop_.RunDialog(ChartTemplate(), {}, script.Proc());
  EXPECT_FALSE(script.TimedOut());
  script_ = nullptr;
}

void ChartControlsTest::Paint(Canvas& canvas, PixelSize size) {
  canvas.FillRectangle({0, 0, size.width, size.height}, kGround);
  canvas.SetPen(kChartRed);
  canvas.SetPenStyle(1, LineStyle::Solid);
  const std::array<PixelPoint, 3> line{{{10, 10}, {60, 10}, {60, 40}}};
  canvas.Polyline(line);
}

std::vector<DialogEvent> ChartControlsTest::Of(DialogMessage message) const {
  std::vector<DialogEvent> found;
  for (const DialogEvent& event : script_->Events()) {
    if (event.message == message) {
      found.push_back(event);
    }
  }
  return found;
}

void ChartControlsTest::Settle() {
  QApplication::processEvents();
}

}  // namespace zav::test
