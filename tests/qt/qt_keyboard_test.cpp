// The main window without a mouse on the Qt host: the menus open with Alt and their first
// letter or F10, the commonest commands have keys (an added item too), the toolbar's
// tooltips name the command and its key, Tab passes over the read-only values, and the
// status line's segments are each cut on their own with the whole text as tooltip.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "hosts/qt/status_segments.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "tests/qt/shown_dialog.h"

namespace zav {
namespace {

using KeyboardTest = test::ShownDialogTest;

constexpr int kToolbar = 1002;
constexpr int kPortList = 1001;
constexpr int kHelpItemId = 20001;

QStringList MenuTitles(QWidget& window) {
  QStringList titles;
  for (QAction* action : window.findChild<QMenuBar*>()->actions()) {
    titles.push_back(action->text());
  }
  return titles;
}

QString TipOf(QToolBar& toolbar, int position) {
  return toolbar.actions().at(position)->toolTip();
}

TEST_F(KeyboardTest, MnemonicsKeysAndTooltipsReachTheCommandsWithoutAMouse) {
  RunShown(MainTemplate(), [&](WindowRef window) {
    QWidget& dialog = *desktop_.WindowOf(window);
    desktop_.AddToolbarButtons(window, kToolbar, MainToolbarButtons());
    desktop_.AddMenuItem(window, "Info", kHelpItemId, "Connection help\u2026");
    desktop_.SetMenuItemKey(window, kHelpItemId, "F1");
    desktop_.AddMenuItem(window, "Log", 20100, "Start recording\u2026");
    dialog.activateWindow();
    QApplication::processEvents();

    EXPECT_EQ(MenuTitles(dialog), QStringList({"&File", "&ZAV", "&Info", "&Log"}))
        << "Alt+F, Alt+Z, Alt+I, Alt+L";
    QMenu* info = dialog.findChild<QMenuBar*>()->actions().at(2)->menu();
    EXPECT_EQ(info->actions().at(0)->text(), QStringLiteral("ZAV version")) << "texts kept";

    auto& toolbar = *qobject_cast<QToolBar*>(desktop_.ControlOf(window, kToolbar));
    EXPECT_EQ(TipOf(toolbar, 0), QStringLiteral("Open (Ctrl+O)"));
    EXPECT_EQ(TipOf(toolbar, 1), QStringLiteral("Save (Ctrl+S)"));
    EXPECT_EQ(TipOf(toolbar, 2), QStringLiteral("Read from ZAV (Ctrl+R)"));
    EXPECT_EQ(TipOf(toolbar, 3), QStringLiteral("Set ZAV"));
    EXPECT_EQ(TipOf(toolbar, 4), QStringLiteral("Edit"));

    QTest::keyClick(&dialog, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&dialog, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&dialog, Qt::Key_F1);

    // Tab from the port list visits only what the fitter can use.
    desktop_.ControlOf(window, kPortList)->setFocus();
    for (int step = 0; step < 6; ++step) {
      ASSERT_NE(QApplication::focusWidget(), nullptr) << step;
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      const auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      EXPECT_TRUE(edit == nullptr || !edit->isReadOnly())
          << "Tab stopped on a read-only value, step " << step;
    }

    auto* bar = dialog.findChild<QMenuBar*>();
    QTest::keyClick(&dialog, Qt::Key_F10);
    EXPECT_EQ(bar->activeAction(), bar->actions().at(0)) << "F10 opens \"File\"";
    QTest::keyClick(bar, Qt::Key_Escape);
  });
  EXPECT_EQ(Script().CountCommand(kCommandOpen, 0), 1);
  EXPECT_EQ(Script().CountCommand(kCommandSave, 0), 1);
  EXPECT_EQ(Script().CountCommand(kCommandReadFromZav, 0), 1);
  EXPECT_EQ(Script().CountCommand(kHelpItemId, 0), 1);
}

TEST_F(KeyboardTest, EachStatusSegmentIsCutOnItsOwnWithTheWholeTextAsTooltip) {
  const std::string connection =
      "controller answering \u00b7 COM1 \u2192 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_"
      "A1B2C3-if00-port0 \u00b7 12345 frames \u00b7 0 discarded \u00b7 3 repeated \u00b7 96 B/s";
  const std::string recording = "Recording: 1,234 rows, 156 kB \u00b7 zavmon-20261209-010203.csv";
  const std::string upgrade = "Upgrade: block 120 of 240, about 31 s left";
  RunShown(MainTemplate(), [&](WindowRef window) {
    QWidget& dialog = *desktop_.WindowOf(window);
    const int widthBefore = dialog.width();
    const std::vector<std::string> segments{connection, recording, upgrade};
    desktop_.SetStatusSegments(window, segments);
    dialog.layout()->activate();
    QApplication::processEvents();

    auto* line = dialog.findChild<qt::StatusSegments*>(QStringLiteral("statusLine"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(dialog.width(), widthBefore) << "the window keeps its fixed width";
    for (int i = 0; i < 3; ++i) {
      QLabel* segment = line->Segment(i);
      ASSERT_NE(segment, nullptr);
      EXPECT_EQ(segment->toolTip(), QString::fromStdString(segments[i]));
      EXPECT_TRUE(segment->isVisible());
      EXPECT_LE(segment->geometry().right(), line->contentsRect().right()) << i;
    }
    EXPECT_TRUE(line->Segment(0)->text().endsWith(QChar(0x2026))) << "too long: cut with …";
    EXPECT_TRUE(line->Segment(0)->text().startsWith(QStringLiteral("controller answering")));
    EXPECT_TRUE(line->Segment(2)->text().startsWith(QStringLiteral("Upgrade")));

    desktop_.SetStatusSegments(window, std::vector<std::string>{"no port chosen", "", ""});
    QApplication::processEvents();
    EXPECT_EQ(line->Segment(0)->text(), QStringLiteral("no port chosen")) << "fits whole";
    EXPECT_FALSE(line->Segment(1)->isVisible()) << "an empty segment takes no room";

    // A larger font (a fitter's screen setting) measures the texts again: the short text
    // still shows whole, in the room it now needs.
    const int widthInOldFont = line->Segment(0)->sizeHint().width();
    QFont larger = line->font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    line->setFont(larger);
    QApplication::processEvents();
    EXPECT_GT(line->Segment(0)->sizeHint().width(), widthInOldFont * 3 / 2);
    desktop_.SetStatusSegments(window, std::vector<std::string>{"no port chosen", "", "x"});
    QApplication::processEvents();
    EXPECT_EQ(line->Segment(0)->text(), QStringLiteral("no port chosen"));
  });
}

}  // namespace
}  // namespace zav
