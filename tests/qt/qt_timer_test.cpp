// Dialog timers on the Qt host: they fire in the dialog's loop, can be replaced and killed,
// stop when their dialog ends, drop periods missed while a handler was busy, and keep
// firing inside modal loops their own handler opened (a nested dialog, a message box).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>
#include <optional>
#include <vector>

#include "hosts/qt/qt_desktop.h"
#include "tests/qt/dialog_script.h"
#include "tests/qt/modal_driver.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

using test::DialogScript;

constexpr int kTickId = 1;
constexpr int kOtherId = 2;
constexpr int kPollPeriodMs = 150;  // the main window's tick
// How long the nested dialog stays open (ms): about ten ticks of 150 ms.
constexpr int kNestedOpenMs = 1500;
// Far below the ten ticks expected, so a slow machine still passes; 0 would mean the
// ticks stopped.
constexpr int kFewestNestedTicks = 3;
// When a stand-in user closes a box whose ticks should have closed it long before (ms).
constexpr int kLateUserMs = 10000;

class DialogTimerTest : public testing::Test {
 protected:
  int Run(DialogScript& script) {
    return desktop_.RunDialog(test::PlainTemplate(), {}, script.Proc());
  }

  QtDesktop desktop_;
};

TEST_F(DialogTimerTest, TimerFiresInTheDialogsOwnLoopWithItsId) {
  int ticks = 0;
  DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kTickId, 20);
    } else if (event.message == DialogMessage::Timer && event.id == kTickId && ++ticks == 5) {
      desktop.EndDialog(window, 5);
    }
  });
  EXPECT_EQ(Run(script), 5);
  EXPECT_EQ(ticks, 5);
}

TEST_F(DialogTimerTest, SettingATimerAgainReplacesItsPeriod) {
  DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kTickId, 600000);  // 10 minutes: would trip the hang guard
      desktop.SetTimer(window, kTickId, 20);
    } else if (event.message == DialogMessage::Timer) {
      desktop.EndDialog(window, 1);
    }
  });
  EXPECT_EQ(Run(script), 1);
}

TEST_F(DialogTimerTest, KilledTimerFiresNoMore) {
  int ticks = 0;
  DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kTickId, 20);
    } else if (event.message == DialogMessage::Timer && event.id == kTickId && ++ticks == 3) {
      desktop.KillTimer(window, kTickId);
      desktop.SetTimer(window, kOtherId, 300);  // room for more ticks, were any left
    } else if (event.message == DialogMessage::Timer && event.id == kOtherId) {
      desktop.EndDialog(window, 0);
    }
  });
  Run(script);
  EXPECT_EQ(ticks, 3);
}

TEST_F(DialogTimerTest, PeriodsMissedDuringABusyHandlerAreDroppedNotReplayed) {
  constexpr int kPeriodMs = 50;
  std::vector<qint64> tickTimes;
  QElapsedTimer clock;
  clock.start();
  DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kTickId, kPeriodMs);
    } else if (event.message == DialogMessage::Timer) {
      tickTimes.push_back(clock.elapsed());
      if (tickTimes.size() == 1) {
        QThread::msleep(20 * kPeriodMs);  // twenty periods pass without a loop
      } else if (tickTimes.size() == 5) {
        desktop.EndDialog(window, 0);
      }
    }
  });
  Run(script);
  ASSERT_EQ(tickTimes.size(), 5U);
  // Replayed periods would come back to back; each tick after the busy one waits a period.
  EXPECT_GE(tickTimes[4] - tickTimes[1], 2 * kPeriodMs);
}

// The tick opens a dialog of its own, as a parameter write opens the transfer dialog.
TEST_F(DialogTimerTest, TicksGoOnInsideADialogOpenedByTheirOwnHandler) {
  int ticks = 0;
  int ticksWhenNestedOpened = -1;
  int ticksWhenNestedEnded = -1;
  DialogScript nested([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      ticksWhenNestedOpened = ticks;
      desktop.SetTimer(window, kOtherId, kNestedOpenMs);
    } else if (event.message == DialogMessage::Timer && event.id == kOtherId) {
      ticksWhenNestedEnded = ticks;
      desktop.EndDialog(window, 9);
    }
  });
  int nestedResult = 0;
  DialogScript outer([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kTickId, kPollPeriodMs);
    } else if (event.message == DialogMessage::Timer && ++ticks == 1) {
      nestedResult = desktop.RunDialog(test::ResizableTemplate(), window, nested.Proc());
      desktop.EndDialog(window, 0);
    }
  });
  Run(outer);
  EXPECT_EQ(nestedResult, 9);
  EXPECT_FALSE(nested.TimedOut());
  EXPECT_GE(ticksWhenNestedEnded - ticksWhenNestedOpened, kFewestNestedTicks);
}

TEST_F(DialogTimerTest, TicksGoOnBehindAMessageBoxOpenedByTheirOwnHandler) {
  int ticks = 0;
  int ticksWhenBoxClosed = -1;
  std::optional<MessageAnswer> answer;
  // Should the ticks stop, nothing would close the box: the test's own user does, late.
  QElapsedTimer boxOpen;
  test::ModalDriver lateUser([&](QWidget& modal) {
    auto* box = dynamic_cast<QMessageBox*>(&modal);
    if (box == nullptr || !boxOpen.isValid() || boxOpen.elapsed() < kLateUserMs) {
      return false;
    }
    box->button(QMessageBox::Ok)->click();
    return true;
  });
  DialogScript outer([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kTickId, kPollPeriodMs);
    } else if (event.message == DialogMessage::Timer && ++ticks == 1) {
      boxOpen.start();
      answer = desktop.ShowMessage(window, "Read from ZAV?", "question", MessageButtons::OkCancel,
                                   MessageIcon::Information);
      desktop.EndDialog(window, 0);
    } else if (event.message == DialogMessage::Timer && ticks == 1 + kFewestNestedTicks) {
      auto* box = dynamic_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      ticksWhenBoxClosed = ticks;
      box->button(QMessageBox::Cancel)->click();  // from a tick behind the box
    }
  });
  Run(outer);
  EXPECT_FALSE(lateUser.Done()) << "no tick came behind the box";
  EXPECT_EQ(answer, MessageAnswer::Cancel);
  EXPECT_EQ(ticksWhenBoxClosed, 1 + kFewestNestedTicks);
}

TEST_F(DialogTimerTest, TimersOfAnEndedDialogStopEvenWhileItsHandlerBlocks) {
  int nestedTicks = 0;
  int nestedTicksAfterEnd = 0;
  bool ended = false;
  QElapsedTimer boxOpen;
  // Closes the box once 300 ms have passed: room for fifteen 20 ms ticks.
  test::ModalDriver driver([&](QWidget& modal) {
    auto* box = dynamic_cast<QMessageBox*>(&modal);
    if (box == nullptr || !boxOpen.isValid() || boxOpen.elapsed() < 300) {
      return false;
    }
    box->button(QMessageBox::Ok)->click();
    return true;
  });
  DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, kTickId, 20);
    } else if (event.message == DialogMessage::Timer && event.id == kTickId) {
      ++nestedTicks;
      if (ended) {
        ++nestedTicksAfterEnd;
        return;
      }
      ended = true;
      desktop.EndDialog(window, 3);
      boxOpen.start();
      desktop.ShowMessage(window, "text", "caption", MessageButtons::Ok, MessageIcon::None);
    }
  });
  EXPECT_EQ(Run(script), 3);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(nestedTicks, 1);
  EXPECT_EQ(nestedTicksAfterEnd, 0);
}

}  // namespace
}  // namespace zav
