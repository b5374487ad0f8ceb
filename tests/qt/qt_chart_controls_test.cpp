// The chart controls on the Qt host: a canvas control paints what its procedure draws in
// its own Paint, and two redraws asked together bring one Paint; it grows with a resizable
// window, and passes on resizes, wheel turns, clicks and the moving keys (Escape still
// reaches the dialog); check boxes and the horizontal scroll bar tell the procedure what the
// user did; a table shows its texts; a window that is not modal runs beside its owner.
// Where the drawing lands is in qt_chart_drawing_test.cpp.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <array>

#include "hosts/qt/chart_controls.h"
#include "hosts/qt/qt_desktop.h"
#include "tests/qt/chart_controls_fixture.h"
#include "tests/qt/logical_pixels.h"

namespace zav {
namespace {

using test::ChartControlsTest;
using test::kBarId;
using test::kBoxId;
using test::kCanvasId;
using test::kChartRed;
using test::kTableId;

TEST_F(ChartControlsTest, CanvasShowsWhatItsPaintDrew) {
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    const QImage picture = canvas->grab().toImage();
    EXPECT_EQ(test::LogicalColour(picture, {30, 30}), QColor(10, 200, 30));
    // The one-pixel line covers its pixels whole, at any scale.
    EXPECT_EQ(test::LogicalColour(picture, {30, 10}), QColor(255, 0, 0));
    EXPECT_EQ(test::LogicalColour(picture, {60, 25}), QColor(255, 0, 0));
    EXPECT_EQ(test::LogicalColour(picture, {30, 11}), QColor(10, 200, 30));
    EXPECT_EQ(test::LogicalColour(picture, {61, 25}), QColor(10, 200, 30));
    // Drawing outside its Paint leaves no mark.
    desktop_.ControlCanvas(window, kCanvasId).FillRectangle({0, 0, 5, 5}, kChartRed);
    const int before = paints_;
    desktop_.Redraw(window, kCanvasId);
    desktop_.Redraw(window, kCanvasId);
    Settle();
    EXPECT_EQ(paints_, before + 1) << "two redraws asked together bring one Paint";
  });
}

TEST_F(ChartControlsTest, CanvasAndScrollBarGrowWithTheWindow) {
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    QWidget* bar = desktop_.ControlOf(window, kBarId);
    const QSize canvasBefore = canvas->size();
    const QRect barBefore = bar->geometry();
    const std::size_t resizes = Of(DialogMessage::Resize).size();
    QWidget* frame = desktop_.WindowOf(window);
    frame->resize(frame->size() + QSize(120, 80));
    Settle();
    EXPECT_EQ(canvas->size(), canvasBefore + QSize(120, 80));
    EXPECT_EQ(bar->height(), barBefore.height());
    EXPECT_EQ(bar->width(), barBefore.width() + 120);
    EXPECT_EQ(bar->y(), barBefore.y() + 80);
    EXPECT_GT(Of(DialogMessage::Resize).size(), resizes);
    EXPECT_EQ(desktop_.ControlSize(window, kCanvasId).width, canvas->width());
  });
}

TEST_F(ChartControlsTest, CanvasPassesOnWheelClicksAndMovingKeysButNotEscape) {
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(17, 23));
    QTest::keyClick(canvas, Qt::Key_PageUp);
    QTest::keyClick(canvas, Qt::Key_Escape);
    QWheelEvent wheel(QPointF(20, 20), canvas->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    ASSERT_EQ(Of(DialogMessage::Click).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::Click)[0].at, (PixelPoint{17, 23}));
    ASSERT_EQ(Of(DialogMessage::Key).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::Key)[0].code, static_cast<int>(Key::PageUp));
    EXPECT_EQ(script_->CountCommand(kCommandEscape, 0), 1);
    ASSERT_EQ(Of(DialogMessage::Wheel).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::Wheel)[0].code, -2);
  });
}

TEST_F(ChartControlsTest, CheckBoxScrollBarAndTableTellAndShow) {
  Run([&](WindowRef window) {
    auto* box = dynamic_cast<QCheckBox*>(desktop_.ControlOf(window, kBoxId));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("RPM"));
    desktop_.SetChecked(window, kBoxId, true);
    EXPECT_EQ(script_->CountCommand(kBoxId, 0), 0) << "the program's own change is not news";
    box->click();
    EXPECT_EQ(script_->CountCommand(kBoxId, 0), 1);
    EXPECT_FALSE(desktop_.IsChecked(window, kBoxId));

    desktop_.SetScrollBar(window, kBarId, {0, 500, 100, 500});
    auto* bar = dynamic_cast<QScrollBar*>(desktop_.ControlOf(window, kBarId));
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    ASSERT_EQ(Of(DialogMessage::HorizontalScroll).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::HorizontalScroll)[0].code, static_cast<int>(ScrollCode::PageBack));
    EXPECT_EQ(desktop_.GetScrollPosition(window, kBarId), 400);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(desktop_.GetScrollPosition(window, kBarId), 390) << "an arrow: a tenth of a page";

    desktop_.SetTable(window, kTableId, {{"Load", "Ratio"}, {{"1", "1.25"}, {"2", "1.3"}}});
    auto* table = dynamic_cast<QTableWidget*>(desktop_.ControlOf(window, kTableId));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("1.3"));
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("Ratio"));
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Load")) << "fits: one line";

    // Short numbers under long headings, wider together than the table: the headings take
    // two lines and the columns the room of the longer line.
    desktop_.SetTable(window, kTableId,
                      {{"Samples on petrol", "Samples on gas"}, {{"12", "7"}, {"3", "40"}}});
    const QString heading = table->horizontalHeaderItem(0)->text();
    EXPECT_EQ(heading.count('\n'), 1) << heading.toStdString();
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("Samples on gas"))
        << "the last column, stretched to the edge, keeps its heading whole";
    const QFontMetrics metrics(table->horizontalHeader()->font());
    EXPECT_LT(table->columnWidth(0),
              metrics.horizontalAdvance(QStringLiteral("Samples on petrol")));
  });
}

TEST_F(ChartControlsTest, AScrollBarShowsWhatAPlainOneShowsChangeAfterChange) {
  Run([&](WindowRef window) {
    auto* bar = dynamic_cast<QScrollBar*>(desktop_.ControlOf(window, kBarId));
    ASSERT_NE(bar, nullptr);
    QScrollBar plain(Qt::Horizontal, bar->parentWidget());
    plain.setFocusPolicy(bar->focusPolicy());
    plain.setGeometry(bar->geometry());
    plain.show();
    // Following a growing session, then moved back, to the start, and disabled.
    const std::array<ScrollBarState, 5> states{{{0, 100'000, 10'000, 100'000},
                                                {0, 100'100, 10'000, 100'100},
                                                {0, 200'000, 10'000, 200'000},
                                                {0, 200'000, 10'000, 90'000},
                                                {0, 200'000, 10'000, 0}}};
    for (const ScrollBarState& state : states) {
      desktop_.SetScrollBar(window, kBarId, state);
      qt::SetScrollBarState(plain, state);
      EXPECT_TRUE(bar->grab().toImage() == plain.grab().toImage()) << state.position;
    }
    bar->setEnabled(false);
    plain.setEnabled(false);
    EXPECT_TRUE(bar->grab().toImage() == plain.grab().toImage()) << "disabled";
  });
}

// A template larger than the screen (a big window on a small or scaled screen): a resizable
// window opens shrunk to the screen's usable area and within it, a fixed one with its
// top-left corner on the screen.
TEST_F(ChartControlsTest, AWindowLargerThanTheScreenOpensOnIt) {
  Run([&](WindowRef owner) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const bool resizable : {true, false}) {
      DialogTemplate big = test::ChartTemplate();
      big.rect = {400, 300, 2400, 1800};  // dialog units, from the owner's client area
      big.sizingBorder = resizable;
      const WindowRef window = desktop_.OpenWindow(
          big, owner, [](Desktop&, WindowRef, const DialogEvent&) { return true; });
      const QWidget* shown = desktop_.WindowOf(window);
      ASSERT_NE(shown, nullptr);
      EXPECT_TRUE(area.contains(shown->geometry().topLeft())) << resizable;
      if (resizable) {
        EXPECT_TRUE(area.contains(shown->frameGeometry())) << "and on it whole";
      }
      desktop_.EndDialog(window, 0);
    }
  });
}

TEST_F(ChartControlsTest, AWindowThatIsNotModalRunsBesideItsOwnerUntilEnded) {
  Run([&](WindowRef owner) {
    int ticks = 0;
    bool escaped = false;
    const WindowRef chart = desktop_.OpenWindow(
        test::ChartTemplate(), owner,
        [&](Desktop& desktop, WindowRef self, const DialogEvent& event) {
          if (event.message == DialogMessage::Init) {
            desktop.SetTimer(self, 7, 10);
          } else if (event.message == DialogMessage::Timer) {
            ++ticks;
          } else if (event.message == DialogMessage::Command && event.id == kCommandEscape) {
            escaped = true;
            desktop.EndDialog(self, 0);
          }
          return true;
        });
    QWidget* window = desktop_.WindowOf(chart);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    desktop_.SetTitle(chart, "drive.csv");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("drive.csv"));
    QTest::qWait(100);  // the owner's modal loop delivers the window's timer
    EXPECT_GT(ticks, 2);
    QTest::keyClick(desktop_.ControlOf(chart, kCanvasId), Qt::Key_Escape);
    EXPECT_TRUE(escaped);
    Settle();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(desktop_.WindowOf(chart), nullptr) << "gone once ended";
  });
}
}  // namespace
}  // namespace zav
