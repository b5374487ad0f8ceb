// The status line and added menu items on the Qt host: the window grows below the template's
// controls and nothing of the template moves; a click on the line and a chosen item reach
// the procedure as commands; items can be checked and disabled.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolTip>
#include <string>
#include <vector>

#include "hosts/qt/status_segments.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "tests/qt/shown_dialog.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

using WindowExtrasTest = test::ShownDialogTest;

constexpr int kHelpItem = 20001;
constexpr int kLogItem = 20101;

QAction* MenuNamed(QWidget& window, const QString& title) {
  auto* bar = window.findChild<QMenuBar*>();
  for (QAction* action : bar != nullptr ? bar->actions() : QList<QAction*>()) {
    if (action->text().remove(QLatin1Char('&')) == title) {  // without the mnemonic
      return action;
    }
  }
  return nullptr;
}

TEST_F(WindowExtrasTest, StatusLineGrowsTheWindowBelowTheTemplateAndReportsClicks) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QWidget& dialog = *desktop_.WindowOf(window);
    QWidget& button = *desktop_.ControlOf(window, test::kPushButtonId);
    const QSize before = dialog.size();
    const QPoint buttonBefore = button.mapTo(&dialog, QPoint(0, 0));
    const int clientBottom = desktop_.ClientAreaOf(window)->geometry().bottom();

    desktop_.SetStatusLine(window, "COM1 \u2192 /dev/ttyUSB0");
    dialog.layout()->activate();
    QApplication::processEvents();

    auto* line = dialog.findChild<qt::StatusSegments*>(QStringLiteral("statusLine"));
    ASSERT_NE(line, nullptr);
    ASSERT_NE(line->Segment(0), nullptr);
    EXPECT_EQ(line->Segment(0)->text(), QStringLiteral("COM1 \u2192 /dev/ttyUSB0"));
    EXPECT_GT(line->height(), 0);
    EXPECT_GT(line->geometry().top(), clientBottom) << "the line sits below the client area";
    EXPECT_EQ(dialog.width(), before.width());
    EXPECT_EQ(dialog.height(), before.height() + line->height());
    EXPECT_EQ(button.mapTo(&dialog, QPoint(0, 0)), buttonBefore);

    desktop_.SetStatusLine(window, "no port chosen");
    dialog.layout()->activate();
    EXPECT_EQ(dialog.height(), before.height() + line->height()) << "grows once only";
    QTest::mouseClick(line, Qt::LeftButton);
  });
  EXPECT_EQ(Script().CountCommand(kStatusLineClicked, 0), 1);
}

TEST_F(WindowExtrasTest, AddedItemsJoinTheirMenuOrANewOneAndCanBeCheckedAndDisabled) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QWidget& dialog = *desktop_.WindowOf(window);
    const int menusBefore = static_cast<int>(dialog.findChild<QMenuBar*>()->actions().size());
    desktop_.AddMenuItem(window, "Info", kHelpItem, "Connection help\u2026");
    desktop_.AddMenuItem(window, "Log", kLogItem, "Start recording\u2026");

    QAction* info = MenuNamed(dialog, QStringLiteral("Info"));
    ASSERT_NE(info, nullptr);
    QAction* help = info->menu()->actions().back();
    EXPECT_EQ(help->text(), QStringLiteral("Connection help\u2026"));
    const auto menus = dialog.findChild<QMenuBar*>()->actions();
    ASSERT_EQ(static_cast<int>(menus.size()), menusBefore + 1);
    EXPECT_EQ(menus.back()->text(), QStringLiteral("&Log"));
    QAction* log = menus.back()->menu()->actions().front();

    desktop_.SetMenuItemChecked(window, kLogItem, true);
    EXPECT_TRUE(log->isCheckable());
    EXPECT_TRUE(log->isChecked());
    desktop_.SetMenuItemEnabled(window, kHelpItem, false);
    EXPECT_FALSE(help->isEnabled());
    help->trigger();  // a disabled action does nothing
    desktop_.SetMenuItemEnabled(window, kHelpItem, true);
    help->trigger();
    log->trigger();

    // A '&' in an item's text marks its mnemonic, as in Qt's own menus; its key is shown.
    desktop_.AddMenuItem(window, "Log", kLogItem + 1, "S&top recording");
    desktop_.SetMenuItemKey(window, kLogItem + 1, "Ctrl+L");
    QAction* stop = menus.back()->menu()->actions().back();
    EXPECT_EQ(stop->text(), QStringLiteral("S&top recording"));
    EXPECT_EQ(stop->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
  });
  EXPECT_EQ(Script().CountCommand(kHelpItem, 0), 1);
  EXPECT_EQ(Script().CountCommand(kLogItem, 0), 1);
}

// The segments take the room their texts need: on the main window a short connection text
// leaves the recording's whole; and a tooltip open over a segment follows its text.
TEST_F(WindowExtrasTest, SegmentsAreSizedByTheirTextsAndTheirTooltipsFollowThem) {
  RunShown(MainTemplate(), [&](WindowRef window) {
    QWidget& dialog = *desktop_.WindowOf(window);
    const std::string recording =
        "Recording: 50 rows, 7 kB \u00b7 zavmon-20261209-162915.csv \u00b7 parameters not read yet";
    desktop_.SetStatusSegments(window, std::vector<std::string>{"no port chosen", recording, ""});
    dialog.layout()->activate();
    QApplication::processEvents();
    auto* line = dialog.findChild<qt::StatusSegments*>(QStringLiteral("statusLine"));
    ASSERT_NE(line, nullptr);
    QLabel* second = line->Segment(1);
    ASSERT_NE(second, nullptr);
    const int needed = second->fontMetrics().horizontalAdvance(QString::fromStdString(recording));
    ASSERT_GT(line->contentsRect().width(), needed + 200) << "a window wide enough for both";
    EXPECT_EQ(line->Segment(0)->text(), QStringLiteral("no port chosen"));
    EXPECT_EQ(second->text().toStdString(), recording) << "whole, not cut";

    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), second->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(second, &hover);
    ASSERT_TRUE(QToolTip::isVisible());
    const std::string later =
        "Recording: 64 rows, 9 kB \u00b7 zavmon-20261209-162915.csv \u00b7 parameters not read yet";
    desktop_.SetStatusSegments(window, std::vector<std::string>{"no port chosen", later, ""});
    QApplication::processEvents();
    EXPECT_EQ(QToolTip::text().toStdString(), later) << "the open tooltip shows the text now";
    QToolTip::hideText();
  });
}

// A segment lays its text out once, not on every paint; it shows what a plain label with
// the text it shows (whole, or cut with "…") shows.
TEST_F(WindowExtrasTest, ASegmentPaintsWhatALabelWithItsShownTextPaintsWholeOrCut) {
  RunShown(MainTemplate(), [&](WindowRef window) {
    QWidget& dialog = *desktop_.WindowOf(window);
    const std::string wide(400, 'W');
    qt::StatusSegments* line = nullptr;
    for (const std::string& text : {std::string("Recording: 1,234 rows, 156 kB"), wide}) {
      desktop_.SetStatusSegments(window, std::vector<std::string>{text, "", ""});
      dialog.layout()->activate();
      QApplication::processEvents();
      line = dialog.findChild<qt::StatusSegments*>(QStringLiteral("statusLine"));
      ASSERT_NE(line, nullptr);
      QLabel* segment = line->Segment(0);
      ASSERT_NE(segment, nullptr);
      QLabel plain(segment->text(), line);
      plain.setGeometry(segment->geometry());
      plain.setAutoFillBackground(true);
      EXPECT_TRUE(segment->grab().toImage() == plain.grab().toImage()) << text.size();
    }
    EXPECT_TRUE(line->Segment(0)->text().endsWith(QChar(0x2026)));
  });
}

}  // namespace
}  // namespace zav
