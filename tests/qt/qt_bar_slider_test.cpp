// Progress bars and vertical sliders on the Qt host: ranges that start above 0, positions
// outside the range, the bar's colour, the slider's top-down positions and the events each
// kind of user movement sends.
#include <gtest/gtest.h>

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "hosts/qt/level_bar.h"
#include "hosts/qt/vertical_slider.h"
#include "tests/qt/shown_dialog.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

using qt::TrackbarCode;
using BarTest = test::ShownDialogTest;

qt::LevelBar& BarOf(QtDesktop& desktop, WindowRef window) {
  return *dynamic_cast<qt::LevelBar*>(desktop.ControlOf(window, test::kProgressBarId));
}

TEST_F(BarTest, FillsInProportionWithinARangeThatStartsAboveZero) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    qt::LevelBar& bar = BarOf(desktop_, window);
    const int inside = bar.width() - 2;  // within the 1-pixel frame
    desktop_.SetBarRange(window, test::kProgressBarId, 1000, 2500);
    desktop_.SetBarPosition(window, test::kProgressBarId, 1750);
    EXPECT_EQ(bar.FilledWidth(), inside / 2);
    desktop_.SetBarPosition(window, test::kProgressBarId, 3000);
    EXPECT_EQ(bar.Position(), 2500);
    EXPECT_EQ(bar.FilledWidth(), inside);
    desktop_.SetBarPosition(window, test::kProgressBarId, 0);
    EXPECT_EQ(bar.Position(), 1000);
    EXPECT_EQ(bar.FilledWidth(), 0);
  });
}

TEST_F(BarTest, ShowsTheFillColourItWasGiven) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    qt::LevelBar& bar = BarOf(desktop_, window);
    desktop_.SetBarRange(window, test::kProgressBarId, 0, 23);
    desktop_.SetBarPosition(window, test::kProgressBarId, 23);
    desktop_.SetBarColour(window, test::kProgressBarId, Colour{255, 0, 0});
    const QImage picture = bar.grab().toImage();
    EXPECT_EQ(picture.pixelColor(bar.width() / 2, bar.height() / 2), QColor(255, 0, 0));
    desktop_.SetBarPosition(window, test::kProgressBarId, 0);
    EXPECT_NE(bar.grab().toImage().pixelColor(bar.width() / 2, bar.height() / 2),
              QColor(255, 0, 0));
  });
}

class SliderTest : public test::ShownDialogTest {
 protected:
  static constexpr int kId = test::kVerticalSliderId;

  QSlider& SliderOf(WindowRef window) {
    return *dynamic_cast<QSlider*>(desktop_.ControlOf(window, kId));
  }

  // Where the thumb is drawn (slider px).
  static QRect ThumbRect(QSlider& slider) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.upsideDown = !slider.invertedAppearance();  // vertical sliders count upwards
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                          &slider);
  }

  // The code of the last VerticalScroll the dialog got; -1 when none came.
  int LastScrollCode() const {
    for (auto it = Script().Events().rbegin(); it != Script().Events().rend(); ++it) {
      if (it->message == DialogMessage::VerticalScroll) {
        EXPECT_EQ(it->id, kId);
        return it->code;
      }
    }
    return -1;
  }
};

TEST_F(SliderTest, PositionZeroIsAtTheTopAndPositionsOutsideTheRangeGoToTheNearerEnd) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QSlider& slider = SliderOf(window);
    desktop_.SetSliderRange(window, kId, 0, 50);
    desktop_.SetSliderPosition(window, kId, 0);
    const QRect top = ThumbRect(slider);
    desktop_.SetSliderPosition(window, kId, 50);
    EXPECT_GT(ThumbRect(slider).center().y(), top.center().y());
    EXPECT_LT(top.center().y(), slider.height() / 2);
    desktop_.SetSliderPosition(window, kId, 80);
    EXPECT_EQ(desktop_.GetSliderPosition(window, kId), 50);
    desktop_.SetSliderPosition(window, kId, -111);
    EXPECT_EQ(desktop_.GetSliderPosition(window, kId), 0);
    EXPECT_EQ(Script().Count(DialogMessage::VerticalScroll), 0);  // the program's own moves
  });
}

struct SliderKeyCase {
  Qt::Key key;
  TrackbarCode code;
  int positionAfter;  // from 20 in 0..50, a page being a fifth of the range
};

class SliderKeyTest : public SliderTest, public testing::WithParamInterface<SliderKeyCase> {};

TEST_P(SliderKeyTest, KeyMovesTheThumbTheWayItPointsAndSendsItsCode) {
  const SliderKeyCase key = GetParam();
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    desktop_.SetSliderRange(window, kId, 0, 50);
    desktop_.SetSliderPosition(window, kId, 20);
    QTest::keyClick(&SliderOf(window), key.key);
    EXPECT_EQ(desktop_.GetSliderPosition(window, kId), key.positionAfter);
  });
  ASSERT_EQ(Script().Count(DialogMessage::VerticalScroll), 1);
  EXPECT_EQ(LastScrollCode(), static_cast<int>(key.code));
}

INSTANTIATE_TEST_SUITE_P(Keys, SliderKeyTest,
                         testing::Values(SliderKeyCase{Qt::Key_Down, TrackbarCode::LineDown, 21},
                                         SliderKeyCase{Qt::Key_Up, TrackbarCode::LineUp, 19},
                                         SliderKeyCase{Qt::Key_PageDown, TrackbarCode::PageDown,
                                                       30},
                                         SliderKeyCase{Qt::Key_PageUp, TrackbarCode::PageUp, 10},
                                         SliderKeyCase{Qt::Key_Home, TrackbarCode::Top, 0},
                                         SliderKeyCase{Qt::Key_End, TrackbarCode::Bottom, 50}));

TEST_F(SliderTest, ProcedureReadsTheNewPositionDuringTheMovementEvent) {
  int positionDuringScroll = -1;
  test::DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetSliderRange(window, kId, 0, 25);
      desktop.SetTimer(window, 1, 20);
    } else if (event.message == DialogMessage::Timer) {
      desktop.KillTimer(window, 1);
      QTest::keyClick(&SliderOf(window), Qt::Key_Down);
      QTest::keyClick(&SliderOf(window), Qt::Key_Down);
      desktop.EndDialog(window, 0);
    } else if (event.message == DialogMessage::VerticalScroll) {
      positionDuringScroll = desktop.GetSliderPosition(window, kId);
    }
  });
  desktop_.RunDialog(test::EveryKindTemplate(), {}, script.Proc());
  EXPECT_EQ(positionDuringScroll, 2);
}

TEST_F(SliderTest, ClickOnTheThumbSendsAScrollEvenWithoutMoving) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QSlider& slider = SliderOf(window);
    desktop_.SetSliderRange(window, kId, 0, 50);
    desktop_.SetSliderPosition(window, kId, 15);
    const QPoint thumb = ThumbRect(slider).center();
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, thumb);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, thumb);
    EXPECT_EQ(desktop_.GetSliderPosition(window, kId), 15);
  });
  ASSERT_GE(Script().Count(DialogMessage::VerticalScroll), 1);
  EXPECT_EQ(LastScrollCode(), static_cast<int>(TrackbarCode::ThumbPosition));
}

}  // namespace
}  // namespace zav
