// The headless host's chart controls: a canvas control paints once per batch of redraws,
// after the event that asked, and keeps what it drew; resizes, wheel turns, clicks, keys,
// check boxes and scroll bars reach the procedure with what the user did; a saved picture
// keeps its drawing.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "hosts/headless/headless_desktop.h"

namespace zav::headless {
namespace {

constexpr int kDialog = 30;
constexpr int kCanvasId = 1, kBoxId = 2, kBarId = 3, kTableId = 4, kRedrawCommand = 9;

const DialogTemplate& ChartTemplate() {
  static constexpr std::array kControls{
      ControlTemplate{kCanvasId, ControlKind::CanvasControl, {0, 0, 200, 100}, ""},
      ControlTemplate{kBoxId, ControlKind::CheckBox, {0, 105, 40, 10}, "RPM"},
      ControlTemplate{kBarId, ControlKind::HorizontalScrollBar, {0, 118, 200, 10}, ""},
      ControlTemplate{kTableId, ControlKind::Table, {0, 130, 200, 40}, ""},
  };
  static const DialogTemplate kTemplate{.id = kDialog, .controls = kControls};
  return kTemplate;
}

class HeadlessChartControlsTest : public ::testing::Test {
 protected:
  // Runs the dialog; `script` runs at 1 s, then the dialog ends.
  void Run(const std::function<void()>& script) {
    desktop.At(kSecond, [&] {
      script();
      desktop.RequestClose(kDialog);
    });
    desktop.RunDialog(ChartTemplate(), {}, [this](Desktop& d, WindowRef w, const DialogEvent& e) {
      events.push_back(e);
      if (e.message == DialogMessage::Command && e.id == kRedrawCommand) {
        d.Redraw(w, kCanvasId);
        d.Redraw(w, kCanvasId);
      } else if (e.message == DialogMessage::Paint && e.id == kCanvasId) {
        const PixelSize size = d.ControlSize(w, kCanvasId);
        Canvas& canvas = d.ControlCanvas(w, kCanvasId);
        canvas.FillRectangle({0, 0, size.width, size.height}, {1, 2, 3});
        canvas.PlacedText({{size.width, 0}, TextAlign::End, TextAlign::Start}, "12 s");
      } else if (e.message == DialogMessage::Close) {
        d.EndDialog(w, 0);
      }
      return true;
    });
  }

  std::vector<DialogEvent> Of(DialogMessage message) const {
    std::vector<DialogEvent> found;
    for (const DialogEvent& event : events) {
      if (event.message == message) {
        found.push_back(event);
      }
    }
    return found;
  }

  VirtualClock clock;
  HeadlessDesktop desktop{clock};
  std::vector<DialogEvent> events;
};

TEST_F(HeadlessChartControlsTest, RedrawsAskedTogetherBringOnePaintAfterTheEvent) {
  Run([&] {
    desktop.Press(kDialog, kRedrawCommand);
    ASSERT_EQ(Of(DialogMessage::Paint).size(), 1u);
    EXPECT_EQ(events.back().message, DialogMessage::Paint) << "after the command, not inside it";
    const ControlState& canvas = desktop.Control(kDialog, kCanvasId);
    ASSERT_EQ(canvas.drawing.size(), 2u);
    EXPECT_EQ(canvas.drawing[0].x2, 400) << "2 px per dialog unit";
    EXPECT_EQ(canvas.drawing[1].text, "12 s");
    desktop.ControlCanvas(desktop.Newest(kDialog)->window, kCanvasId).FillRectangle({}, {});
    EXPECT_EQ(canvas.drawing.size(), 2u) << "outside its Paint a control's canvas draws nowhere";
    desktop.Press(kDialog, kRedrawCommand);
    EXPECT_EQ(desktop.Control(kDialog, kCanvasId).drawing.size(), 2u) << "a Paint draws afresh";
  });
}

TEST_F(HeadlessChartControlsTest, ResizeBringsResizeThenPaintAtTheNewSize) {
  Run([&] {
    desktop.ResizeControl(kDialog, kCanvasId, {640, 300});
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2].message, DialogMessage::Resize);
    EXPECT_EQ(desktop.Control(kDialog, kCanvasId).drawing.at(0).x2, 640);
  });
}

TEST_F(HeadlessChartControlsTest, UserInputReachesTheProcedureWithWhatWasDone) {
  Run([&] {
    desktop.TurnWheel(kDialog, kCanvasId, -2);
    desktop.Click(kDialog, kCanvasId, {17, 23});
    desktop.PressKey(kDialog, kCanvasId, Key::PageUp);
    desktop.ClickCheckBox(kDialog, kBoxId);
    EXPECT_EQ(Of(DialogMessage::Wheel).at(0).code, -2);
    EXPECT_EQ(Of(DialogMessage::Click).at(0).at, (PixelPoint{17, 23}));
    EXPECT_EQ(Of(DialogMessage::Key).at(0).code, static_cast<int>(Key::PageUp));
    EXPECT_EQ(Of(DialogMessage::Command).back().id, kBoxId);
    EXPECT_TRUE(desktop.Control(kDialog, kBoxId).checked);
  });
}

TEST_F(HeadlessChartControlsTest, ScrollBarKeepsItsPositionInsideItsRange) {
  Run([&] {
    const WindowRef window = desktop.Newest(kDialog)->window;
    desktop.SetScrollBar(window, kBarId, {0, 50, 10, 80});
    EXPECT_EQ(desktop.GetScrollPosition(window, kBarId), 50);
    desktop.MoveScrollBar(kDialog, kBarId, ScrollCode::PageBack, 40);
    EXPECT_EQ(Of(DialogMessage::HorizontalScroll).at(0).code,
              static_cast<int>(ScrollCode::PageBack));
    EXPECT_EQ(desktop.GetScrollPosition(window, kBarId), 40);
    desktop.SetTable(window, kTableId, {{"Load", "Ratio"}, {{"1", "1.25"}}});
    EXPECT_EQ(desktop.Control(kDialog, kTableId).table.rows.at(0).at(1), "1.25");
  });
}

TEST_F(HeadlessChartControlsTest, SavedPictureKeepsItsDrawingAndTextIsMeasuredPerCharacter) {
  desktop.SavePicture("chart.png", {300, 200}, [](Canvas& canvas) {
    EXPECT_EQ(canvas.MeasureText("Gas \u00b0C"), (PixelSize{6 * kCharWidthPx, kTextHeightPx}));
    canvas.SetPenStyle(2, LineStyle::Dashed);
    const std::array<PixelPoint, 2> line{{{0, 0}, {10, 10}}};
    canvas.Polyline(line);
  });
  ASSERT_EQ(desktop.SavedPictures().size(), 1u);
  const SavedPicture& picture = desktop.SavedPictures()[0];
  EXPECT_EQ(picture.path, "chart.png");
  ASSERT_EQ(picture.drawing.size(), 2u);
  EXPECT_EQ(picture.drawing[0].style, LineStyle::Dashed);
  EXPECT_EQ(picture.drawing[1].points.size(), 2u);
}

}  // namespace
}  // namespace zav::headless
