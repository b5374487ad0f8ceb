// What reaches a dialog's procedure on the Qt host, and what ends the dialog: Init before the
// window shows, commands from buttons and from Enter and Escape, Close from the close box,
// and EndDialog as the only way out.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "hosts/qt/dialog_font.h"
#include "hosts/qt/dialog_units.h"
#include "tests/qt/shown_dialog.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

using DialogEventsTest = test::ShownDialogTest;

struct DialogKeyCase {
  const char* name;
  int focusedId;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int command;
};

class DialogKeyTest : public test::ShownDialogTest,
                      public testing::WithParamInterface<DialogKeyCase> {};

TEST_P(DialogKeyTest, KeyReachesTheProcedureAsItsCommandAndLeavesTheDialogOpen) {
  const DialogKeyCase key = GetParam();
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    QWidget* focused = desktop_.ControlOf(window, key.focusedId);
    focused->setFocus();
    QTest::keyClick(focused, key.key, key.modifiers);
    EXPECT_TRUE(desktop_.WindowOf(window)->isVisible());
  });
  EXPECT_EQ(Script().CountCommand(key.command, 0), 1);
  EXPECT_EQ(Script().Count(DialogMessage::Command), 1);  // the button was not pressed
}

std::string KeyName(const testing::TestParamInfo<DialogKeyCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    EnterAndEscape, DialogKeyTest,
    testing::Values(
        DialogKeyCase{"EnterInEdit", test::kPlainInputId, Qt::Key_Return, Qt::NoModifier, 1},
        DialogKeyCase{"KeypadEnterInEdit", test::kPlainInputId, Qt::Key_Enter, Qt::KeypadModifier,
                      1},
        DialogKeyCase{"EnterOnButton", test::kPlainButtonId, Qt::Key_Return, Qt::NoModifier, 1},
        DialogKeyCase{"EnterOnSlider", test::kPlainSliderId, Qt::Key_Return, Qt::NoModifier, 1},
        DialogKeyCase{"EscapeInEdit", test::kPlainInputId, Qt::Key_Escape, Qt::NoModifier, 2},
        DialogKeyCase{"EscapeOnButton", test::kPlainButtonId, Qt::Key_Escape, Qt::NoModifier, 2}),
    KeyName);

TEST_F(DialogEventsTest, PushButtonClickSendsItsIdWithCodeZero) {
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    QTest::mouseClick(desktop_.ControlOf(window, test::kPlainButtonId), Qt::LeftButton);
  });
  EXPECT_EQ(Script().CountCommand(test::kPlainButtonId, 0), 1);
}

TEST_F(DialogEventsTest, CloseBoxDeliversCloseAndLeavesTheDecisionToTheProcedure) {
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    QWidget* dialog = desktop_.WindowOf(window);
    EXPECT_FALSE(dialog->close());
    EXPECT_TRUE(dialog->isVisible());
  });
  EXPECT_EQ(Script().Count(DialogMessage::Close), 1);
}

TEST_F(DialogEventsTest, ProcedureThatEndsOnCloseGetsItsResultBack) {
  test::DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, 1, 20);
    } else if (event.message == DialogMessage::Timer) {
      desktop.KillTimer(window, 1);
      desktop_.WindowOf(window)->close();  // the close box
    } else if (event.message == DialogMessage::Close) {
      desktop.EndDialog(window, 5);
    }
  });
  EXPECT_EQ(desktop_.RunDialog(test::PlainTemplate(), {}, script.Proc()), 5);
  EXPECT_EQ(script.Count(DialogMessage::Close), 1);
}

TEST_F(DialogEventsTest, InitComesWithEveryControlInPlaceBeforeTheWindowShows) {
  bool shownAtInit = true;
  QWidget* editAtInit = nullptr;
  test::DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      shownAtInit = desktop_.WindowOf(window)->isVisible();
      editAtInit = desktop_.ControlOf(window, test::kPlainInputId);
      desktop.EndDialog(window, 7);
    }
  });
  EXPECT_EQ(desktop_.RunDialog(test::PlainTemplate(), {}, script.Proc()), 7);
  EXPECT_FALSE(shownAtInit);
  EXPECT_NE(editAtInit, nullptr);
  EXPECT_EQ(script.Count(DialogMessage::Paint), 0);  // ended during Init: never shown
}

TEST_F(DialogEventsTest, EndDialogEndsAfterTheCurrentEventWithItsResult) {
  std::string textAfterEnd;
  test::DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, 1, 20);
    } else if (event.message == DialogMessage::Timer) {
      desktop.EndDialog(window, 42);
      desktop.SetText(window, test::kPlainInputId, "still here");  // the event goes on
      textAfterEnd = desktop.GetText(window, test::kPlainInputId);
    }
  });
  EXPECT_EQ(desktop_.RunDialog(test::PlainTemplate(), {}, script.Proc()), 42);
  EXPECT_EQ(textAfterEnd, "still here");
  EXPECT_EQ(script.Count(DialogMessage::Timer), 1);
  EXPECT_EQ(desktop_.WindowOf(script.Window()), nullptr);  // gone once RunDialog returned
}

TEST_F(DialogEventsTest, OwnedDialogStandsRelativeToItsOwnersClientArea) {
  QPoint ownerOrigin;
  QPoint ownedPosition;
  test::DialogScript owned([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      desktop.SetTimer(window, 1, 20);
    } else if (event.message == DialogMessage::Timer) {
      ownedPosition = desktop_.WindowOf(window)->pos();
      desktop.EndDialog(window, 0);
    }
  });
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    ownerOrigin = desktop_.ClientAreaOf(window)->mapToGlobal(QPoint(0, 0));
    desktop_.RunDialog(test::ResizableTemplate(), window, owned.Proc());
  });
  const qt::BaseUnits units = qt::MeasureBaseUnits(desktop_.DialogFont());
  EXPECT_EQ(ownedPosition,
            ownerOrigin + qt::PixelRect(units, test::ResizableTemplate().rect).topLeft());
}

}  // namespace
}  // namespace zav
