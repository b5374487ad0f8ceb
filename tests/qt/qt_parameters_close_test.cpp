// The Parameters dialog's close box on the Qt host: the close request a window manager
// sends (here through the window's own close, which takes the window system's path) ends the
// dialog at the first try, right after it opens and after trackbar input by mouse and key.
// The real procedure runs, owned by a shown window as in the program.
#include <gtest/gtest.h>

#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "params/parameter_set.h"
#include "params/parameters_dialog.h"
#include "resources/parameters_template.h"
#include "tests/qt/shown_dialog.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

constexpr int kLeftTrackbarId = 2044;
constexpr int kGuardTimerId = 9002;  // ends a dialog that ignored the request
constexpr int kGuardMs = 5000;
constexpr int kNotClosed = -7;

class ParametersCloseTest : public test::ShownDialogTest {
 protected:
  ParametersCloseTest() { ApplyDefaults(link_.image); }

  // Opens the dialog over a shown owner; `act` runs from the dialog's loop once it is up and
  // sends the close request. Returns the dialog's result.
  int RunParameters(const std::function<void(WindowRef)>& act) {
    int result = kNotClosed;
    link_.desktop = &desktop_;
    RunShown(test::PlainTemplate(), [&](WindowRef owner) {
      link_.mainWindow = owner;
      result = desktop_.RunDialog(
          ParametersTemplate(), owner,
          [&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
            if (event.message == DialogMessage::Timer && event.id == kGuardTimerId) {
              desktop.EndDialog(window, kNotClosed);
              return true;
            }
            closes_ += event.message == DialogMessage::Close;
            scrolls_ += event.message == DialogMessage::VerticalScroll;
            const bool handled = ParametersProc(link_, state_, desktop, window, event);
            if (event.message == DialogMessage::Init) {
              desktop.SetTimer(window, kGuardTimerId, kGuardMs);
              QTimer::singleShot(0, [&act, window] { act(window); });
            }
            return handled;
          });
    });
    return result;
  }

  // What a window manager's close request (WM_DELETE_WINDOW) becomes in Qt.
  void RequestClose(WindowRef window) {
    QWindow* handle = desktop_.WindowOf(window)->windowHandle();
    ASSERT_NE(handle, nullptr);
    handle->close();
  }

  Link link_;
  ParameterState state_;
  int closes_ = 0;
  int scrolls_ = 0;
};

TEST_F(ParametersCloseTest, CloseRequestRightAfterOpeningEndsTheDialog) {
  EXPECT_EQ(RunParameters([&](WindowRef window) { RequestClose(window); }), 0);
  EXPECT_EQ(closes_, 1);
}

TEST_F(ParametersCloseTest, CloseRequestAfterAClickInTheTrackbarGrooveAndUpEndsTheDialog) {
  int position = -1;
  const int result = RunParameters([&](WindowRef window) {
    auto* slider = qobject_cast<QSlider*>(desktop_.ControlOf(window, kLeftTrackbarId));
    ASSERT_NE(slider, nullptr);
    QTest::mouseClick(slider, Qt::LeftButton, {},
                      QPoint(slider->width() / 2, slider->height() - 8));
    QTest::keyClick(slider, Qt::Key_Up);
    position = slider->value();
    RequestClose(window);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(closes_, 1);
  EXPECT_GE(scrolls_, 2) << "the click and the key moved the trackbar";
  EXPECT_NE(position, 15);
}

}  // namespace
}  // namespace zav
