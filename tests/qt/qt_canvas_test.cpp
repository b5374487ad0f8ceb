// The canvas on the Qt host: drawing outside Paint shows at once without a Paint event,
// what the window system asks for (first show, expose, resize) brings Paint first and is
// redrawn from it, and rectangles, lines and texts land on the pixels given, counted in the
// window's own pixels at any screen scale (the suite runs them with QT_SCALE_FACTOR=2 too).
#include <gtest/gtest.h>

#include <QApplication>
#include <QExposeEvent>
#include <QImage>
#include <QWidget>
#include <QWindow>

#include "hosts/qt/qt_desktop.h"
#include "tests/qt/dialog_script.h"
#include "tests/qt/logical_pixels.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

using test::LogicalColour;
using test::LogicalShows;

constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr int kStepTimerId = 1;

// Counts the repaints the client area really got, whoever asked for them.
class RepaintCounter : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++count;
    }
    return QObject::eventFilter(watched, event);
  }
};

// The dialog's Paint draws the chart frame of the Parameters dialog, as its procedure does.
// The test runs `step` once the window is up; drawing happens there.
class CanvasTest : public testing::Test {
 protected:
  static constexpr int kFrameLeft = 316, kFrameTop = 153, kFrameRight = 530, kFrameBottom = 342;

  void RunWithStep(const DialogTemplate& dialog, const std::function<void(WindowRef)>& step) {
    test::DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
      if (event.message == DialogMessage::Init) {
        desktop.SetTimer(window, kStepTimerId, 20);
      } else if (event.message == DialogMessage::Paint) {
        ++paints_;
        desktop.CanvasOf(window).Rectangle(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom);
      } else if (event.message == DialogMessage::Timer && event.id == kStepTimerId) {
        desktop.KillTimer(window, kStepTimerId);
        step(window);
        desktop.EndDialog(window, 0);
      }
    });
    desktop_.RunDialog(dialog, {}, script.Proc());
    EXPECT_FALSE(script.TimedOut());
  }

  // Lets every scheduled repaint happen.
  static void Settle() { QApplication::processEvents(); }

  QImage Picture(WindowRef window) { return desktop_.ClientAreaOf(window)->grab().toImage(); }

  void DrawLine(WindowRef window, Colour colour, QPoint from, QPoint to) {
    Canvas& canvas = desktop_.CanvasOf(window);
    canvas.SetPen(colour);
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
  }

  QtDesktop desktop_;
  int paints_ = 0;
};

TEST_F(CanvasTest, FirstShowDeliversPaint) {
  RunWithStep(test::PlainTemplate(), [&](WindowRef) { EXPECT_GE(paints_, 1); });
}

TEST_F(CanvasTest, DrawingOutsidePaintIsShownAtOnceWithoutAPaintEvent) {
  RunWithStep(test::PlainTemplate(), [&](WindowRef window) {
    Settle();
    RepaintCounter repaints;
    desktop_.ClientAreaOf(window)->installEventFilter(&repaints);
    const int paintsBefore = paints_;
    DrawLine(window, kRed, {342, 297}, {512, 251});
    DrawLine(window, kGreen, {342, 242}, {512, 250});
    Settle();
    EXPECT_GE(repaints.count, 1);      // the drawing went to the screen
    EXPECT_EQ(paints_, paintsBefore);  // without asking the procedure to redraw
    const QImage picture = Picture(window);
    EXPECT_EQ(LogicalColour(picture, {342, 297}), QColor(Qt::red));
    EXPECT_TRUE(LogicalShows(picture, {511, 251}, Qt::red));
    EXPECT_EQ(LogicalColour(picture, {342, 242}), QColor(Qt::green));
    EXPECT_TRUE(LogicalShows(picture, {511, 250}, Qt::green));
    EXPECT_EQ(paints_, paintsBefore);
  });
}

TEST_F(CanvasTest, ExposeDeliversPaintAndTheProcedureRedrawsOnABlankPicture) {
  RunWithStep(test::PlainTemplate(), [&](WindowRef window) {
    Settle();
    DrawLine(window, kRed, {100, 50}, {200, 50});  // outside the frame the Paint draws
    Settle();
    ASSERT_EQ(LogicalColour(Picture(window), {150, 50}), QColor(Qt::red));
    const int paintsBefore = paints_;
    QWindow* handle = desktop_.WindowOf(window)->windowHandle();
    QExposeEvent expose(QRegion(QRect(QPoint(0, 0), handle->size())));
    QApplication::sendEvent(handle, &expose);
    Settle();
    EXPECT_EQ(paints_, paintsBefore + 1);
    const QImage picture = Picture(window);
    EXPECT_FALSE(LogicalShows(picture, {150, 50}, Qt::red));
    EXPECT_EQ(LogicalColour(picture, {kFrameLeft, kFrameTop}), QColor(Qt::black));
  });
}

TEST_F(CanvasTest, RectangleFramesUpToOneShortOfRightAndBottomAndFillsWhite) {
  RunWithStep(test::PlainTemplate(), [&](WindowRef window) {
    Settle();
    const QImage picture = Picture(window);
    const auto at = [&](int x, int y) { return LogicalColour(picture, {x, y}); };
    const QColor background = at(kFrameLeft - 5, kFrameTop - 5);
    ASSERT_TRUE(background.isValid());
    EXPECT_EQ(at(kFrameLeft, kFrameTop), QColor(Qt::black));
    EXPECT_EQ(at(kFrameRight - 1, kFrameBottom - 1), QColor(Qt::black));
    EXPECT_EQ(at(kFrameRight - 1, kFrameTop + 20), QColor(Qt::black));
    EXPECT_EQ(at(kFrameRight, kFrameTop + 20), background);
    EXPECT_EQ(at(kFrameLeft + 20, kFrameBottom), background);
    EXPECT_EQ(at(kFrameLeft + 1, kFrameTop + 1), QColor(Qt::white));
    EXPECT_EQ(at(kFrameRight - 2, kFrameBottom - 2), QColor(Qt::white));
  });
}

TEST_F(CanvasTest, TextStartsAtItsTopLeftInTheTextColour) {
  RunWithStep(test::PlainTemplate(), [&](WindowRef window) {
    Canvas& canvas = desktop_.CanvasOf(window);
    canvas.SetTextColour(kGreen);
    canvas.Text(358, 180, "GAS");
    Settle();
    const QImage picture = Picture(window);
    QRect green;  // logical pixels
    for (int y = 170; y < 210; ++y) {
      for (int x = 340; x < 420; ++x) {
        if (LogicalShows(picture, {x, y}, Qt::green)) {
          green |= QRect(x, y, 1, 1);
        }
      }
    }
    ASSERT_FALSE(green.isEmpty());
    EXPECT_GE(green.left(), 358);
    EXPECT_GE(green.top(), 180);
    EXPECT_LT(green.left(), 358 + 4);
  });
}

// As the platform's line call: the end point is left out, whichever way the line runs, so
// a line drawn on from where the last one ended sets no pixel twice.
TEST_F(CanvasTest, LineLeavesOutItsEndPointInEveryDirection) {
  RunWithStep(test::PlainTemplate(), [&](WindowRef window) {
    const QPoint centre(150, 120);
    const QPoint ends[] = {{170, 120}, {130, 120}, {150, 140}, {150, 100},
                           {170, 130}, {130, 110}, {160, 140}, {140, 100}};
    for (const QPoint end : ends) {
      DrawLine(window, kRed, centre, end);
    }
    Settle();
    const QImage picture = Picture(window);
    for (const QPoint end : ends) {
      EXPECT_FALSE(LogicalShows(picture, end, Qt::red)) << end.x() << "," << end.y();
      const QPoint before = end + QPoint((centre.x() - end.x()) / 10, (centre.y() - end.y()) / 10);
      EXPECT_TRUE(LogicalShows(picture, before, Qt::red)) << before.x() << "," << before.y();
    }
    EXPECT_EQ(LogicalColour(picture, centre), QColor(Qt::red));
  });
}

TEST_F(CanvasTest, EachCanvasStartsWithABlackPen) {
  RunWithStep(test::PlainTemplate(), [&](WindowRef window) {
    desktop_.CanvasOf(window).SetPen(kRed);
    Canvas& fresh = desktop_.CanvasOf(window);
    fresh.MoveTo(20, 300);
    fresh.LineTo(100, 300);
    Settle();
    EXPECT_EQ(LogicalColour(Picture(window), {60, 300}), QColor(Qt::black));
  });
}

TEST_F(CanvasTest, ResizeDeliversPaintAndKeepsThePictureClientSized) {
  RunWithStep(test::ResizableTemplate(), [&](WindowRef window) {
    Settle();
    const int paintsBefore = paints_;
    QWidget* dialog = desktop_.WindowOf(window);
    dialog->resize(dialog->width() + 200, dialog->height() + 150);
    Settle();
    EXPECT_GT(paints_, paintsBefore);
    DrawLine(window, kRed, {500, 200}, {520, 200});  // beyond the first size
    Settle();
    EXPECT_EQ(LogicalColour(Picture(window), {510, 200}), QColor(Qt::red));
  });
}

}  // namespace
}  // namespace zav
