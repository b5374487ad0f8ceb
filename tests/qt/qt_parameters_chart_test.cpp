// The Parameters dialog on the Qt host: its chart lands on the pixels the chart table gives,
// counted from the chart's own box, which the dialog font places and sizes, in the window's own
// pixels at any screen scale (a line pixel shows its colour in one of its device pixels at
// least, a white one is white whole). The real dialog
// procedure runs; the test only adds a timer of its own to look at the rendered picture once the
// window is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QExposeEvent>
#include <QImage>
#include <QSlider>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "hosts/qt/qt_desktop.h"
#include "params/parameter_set.h"
#include "params/parameters_dialog.h"
#include "resources/parameters_template.h"
#include "tests/qt/logical_pixels.h"

namespace zav {
namespace {

using test::LogicalColour;
using test::LogicalShows;

constexpr int kLookTimerId = 9001;  // not one of the dialog's own timers
constexpr int kLookDelayMs = 20;
const QColor kRedPixel(Qt::red);
const QColor kGreenPixel(Qt::green);
const QColor kWhite(Qt::white);

class ParametersChartTest : public testing::Test {
 protected:
  ParametersChartTest() {
    link_.desktop = &desktop_;
    ApplyDefaults(link_.image);
  }

  // Opens the dialog with the real procedure, runs `look` once it is shown, then ends it.
  void RunShown(const std::function<void(WindowRef)>& look) {
    bool looked = false;
    desktop_.RunDialog(ParametersTemplate(), {},
                       [&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
                         if (event.message == DialogMessage::Timer && event.id == kLookTimerId) {
                           desktop.KillTimer(window, kLookTimerId);
                           look(window);
                           looked = true;
                           desktop.EndDialog(window, 0);
                           return true;
                         }
                         const bool handled = ParametersProc(link_, state_, desktop, window, event);
                         if (event.message == DialogMessage::Init) {
                           desktop.SetTimer(window, kLookTimerId, kLookDelayMs);
                         }
                         return handled;
                       });
    EXPECT_TRUE(looked);
  }

  // The picture of the client area; origin_ is where the chart's pixel (0, 0) lies in it,
  // so the chart's own pixels are looked at wherever the dialog font puts its box.
  QImage Picture(WindowRef window) {
    QApplication::processEvents();
    origin_ = desktop_.PictureOriginOf(window);
    return desktop_.ClientAreaOf(window)->grab().toImage();
  }

  QSlider& Trackbar(WindowRef window, int controlId) {
    auto* slider = qobject_cast<QSlider*>(desktop_.ControlOf(window, controlId));
    EXPECT_NE(slider, nullptr);
    return *slider;
  }

  // What the window system does when the dialog is uncovered: the procedure repaints.
  void Expose(WindowRef window) {
    QWindow* handle = desktop_.WindowOf(window)->windowHandle();
    QExposeEvent expose(QRegion(QRect(QPoint(0, 0), handle->size())));
    QApplication::sendEvent(handle, &expose);
  }

  QtDesktop desktop_;
  Link link_;
  ParameterState state_;
  QPoint origin_;  // px
};

TEST_F(ParametersChartTest, OpeningShowsTheRedReferenceAndTheGreenLineOfTheDefaultPositions) {
  RunShown([&](WindowRef window) {
    ASSERT_EQ(desktop_.GetSliderPosition(window, kLeftTrackbar), 15);
    ASSERT_EQ(desktop_.GetSliderPosition(window, kRightTrackbar), 19);
    const QImage picture = Picture(window);
    EXPECT_TRUE(LogicalShows(picture, origin_ + QPoint(342, 297), kRedPixel));
    EXPECT_TRUE(LogicalShows(picture, origin_ + QPoint(511, 251), kRedPixel))
        << "the pixel before the end point";
    EXPECT_EQ(LogicalColour(picture, origin_ + QPoint(512, 251)), kWhite)
        << "the end point is left out";
    EXPECT_TRUE(LogicalShows(picture, origin_ + QPoint(427, 274), kRedPixel))
        << "halfway along the reference line";
    EXPECT_TRUE(LogicalShows(picture, origin_ + QPoint(342, 227 + 15), kGreenPixel));
    EXPECT_TRUE(LogicalShows(picture, origin_ + QPoint(511, 200 + 2 * 19), kGreenPixel));
    EXPECT_EQ(LogicalColour(picture, origin_ + QPoint(512, 200 + 2 * 19)), kWhite);
    EXPECT_EQ(LogicalColour(picture, origin_ + QPoint(342, 227 + 14)), kWhite);
    EXPECT_EQ(LogicalColour(picture, origin_ + QPoint(342, 227 + 16)), kWhite);
  });
}

TEST_F(ParametersChartTest, TrackbarMoveDrawsTheNotificationLineAndARepaintThePixelBelow) {
  RunShown([&](WindowRef window) {
    desktop_.SetSliderPosition(window, kRightTrackbar, 1);
    desktop_.SetSliderPosition(window, kLeftTrackbar, 0);
    QTest::keyClick(&Trackbar(window, kLeftTrackbar), Qt::Key_Down);  // to position 1

    const QImage notified = Picture(window);
    EXPECT_TRUE(LogicalShows(notified, origin_ + QPoint(342, 227), kGreenPixel));
    EXPECT_TRUE(LogicalShows(notified, origin_ + QPoint(511, 201), kGreenPixel));
    EXPECT_EQ(LogicalColour(notified, origin_ + QPoint(342, 228)), kWhite);
    EXPECT_EQ(LogicalColour(notified, origin_ + QPoint(342, 242)), kWhite)
        << "the frame wiped the opening line";
    EXPECT_TRUE(LogicalShows(notified, origin_ + QPoint(342, 297), kRedPixel));

    Expose(window);
    const QImage repainted = Picture(window);
    EXPECT_TRUE(LogicalShows(repainted, origin_ + QPoint(342, 228), kGreenPixel));
    EXPECT_TRUE(LogicalShows(repainted, origin_ + QPoint(511, 202), kGreenPixel));
    EXPECT_EQ(LogicalColour(repainted, origin_ + QPoint(342, 227)), kWhite);
    EXPECT_TRUE(LogicalShows(repainted, origin_ + QPoint(511, 251), kRedPixel));
  });
}

TEST_F(ParametersChartTest, TrackbarKeysBackToTheDefaultsShowTheirFormulaAndNotificationLine) {
  RunShown([&](WindowRef window) {
    QSlider& right = Trackbar(window, kRightTrackbar);
    QTest::keyClick(&right, Qt::Key_Down);
    QTest::keyClick(&right, Qt::Key_Up);  // back at 19
    EXPECT_EQ(desktop_.GetText(window, kYAxisEdit), "3983");
    EXPECT_EQ(desktop_.GetText(window, kNumeratorEdit), "48140");
    const QImage picture = Picture(window);
    EXPECT_TRUE(LogicalShows(picture, origin_ + QPoint(342, 226 + 15), kGreenPixel));
    EXPECT_TRUE(LogicalShows(picture, origin_ + QPoint(511, 199 + 2 * 19), kGreenPixel));
    EXPECT_EQ(LogicalColour(picture, origin_ + QPoint(511, 200 + 2 * 19)), kWhite);
  });
}

// On a screen with a scale factor (the tests run a second time with QT_SCALE_FACTOR=2) the
// chart is drawn at the screen's resolution: inside the frame every device pixel is exactly
// white or one of the chart's colours, the lines start on their logical pixels and leave out
// their end points, and the red line steps at device pixels rather than whole logical ones.
TEST_F(ParametersChartTest, ScaledScreenShowsSharpLinesAtTheScreensResolution) {
  RunShown([&](WindowRef window) {
    const QImage picture = Picture(window);
    const int ratio = static_cast<int>(picture.devicePixelRatio());
    if (ratio < 2) {
      GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2";
    }
    // The colour of logical pixel (x, y) when its device pixels all have one, else invalid.
    const auto block = [&](int x, int y) { return LogicalColour(picture, origin_ + QPoint(x, y)); };
    int otherColours = 0;
    int splitBlocks = 0;  // logical pixels the red line covers only in part
    for (int y = 154; y < 341; ++y) {
      for (int x = 317; x < 529; ++x) {
        for (int dy = 0; dy < ratio; ++dy) {
          for (int dx = 0; dx < ratio; ++dx) {
            const QColor colour =
                picture.pixelColor((x + origin_.x()) * ratio + dx, (y + origin_.y()) * ratio + dy);
            otherColours += colour != kWhite && colour != kRedPixel && colour != kGreenPixel &&
                            colour != QColor(Qt::black);
          }
        }
        splitBlocks += x > 342 && x < 512 && y > 251 && y < 297 && !block(x, y).isValid();
      }
    }
    EXPECT_EQ(otherColours, 0) << "blended pixels inside the chart";
    EXPECT_GT(splitBlocks, 0) << "the red line is an enlarged picture of logical pixels";
    EXPECT_EQ(block(342, 297), kRedPixel);
    EXPECT_EQ(block(342, 296), kWhite);
    EXPECT_EQ(block(342, 298), kWhite);
    EXPECT_EQ(block(512, 251), kWhite) << "the end point is left out";
    EXPECT_EQ(block(342, 227 + 15), kGreenPixel);
    EXPECT_EQ(block(316, 200), QColor(Qt::black)) << "the frame's left edge";
    EXPECT_EQ(block(317, 200), kWhite);
  });
}

}  // namespace
}  // namespace zav
