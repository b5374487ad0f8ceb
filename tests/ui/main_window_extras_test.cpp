// Additions around the main window on the headless host: an added menu item reaches its
// handler through the main window's dispatch, and the status line shows the non-empty
// segments once per tick, only when the text changed.

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

#include "resources/main_template.h"
#include "tests/support/program_harness.h"
#include "ui/data_log_commands.h"
#include "ui/extra_commands.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::ProgramHarness;

constexpr int kLogItem = 20150;  // an id of the data log's range that it leaves free

TEST(MainWindowExtrasTest, AddedItemsAndStatusLineClicksRunTheirHandlers) {
  ProgramHarness harness;
  int logChosen = 0;
  harness.desktop.At(5 * kMillisecond, [&] {
    Program& program = harness.program;
    AddExtraCommand(program, program.link.mainWindow, "Log", kLogItem, "Start recording\u2026",
                    [&] { ++logChosen; });
  });
  harness.desktop.At(400 * kMillisecond, [&] {
    harness.desktop.ChooseAddedItem(kMainTemplateId, kLogItem);
    harness.desktop.Press(kMainTemplateId, 20199);  // an id nobody registered does nothing
  });
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.desktop.At(450 * kMillisecond, [&] { harness.desktop.ClickStatusLine(kMainTemplateId); });
  harness.RunUntil(500 * kMillisecond);

  EXPECT_EQ(logChosen, 1);
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  EXPECT_EQ(harness.desktop.Messages()[0].caption, "Connection help") << "the line's click";
  const auto* item = harness.desktop.Newest(kMainTemplateId)->AddedItem(kLogItem);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->menuTitle, "Log");
  EXPECT_EQ(item->text, "Start recording\u2026");
}

// The keyboard reaches every added item by its own letter, whichever of start and stop is
// enabled, and one key shown beside both starts and stops a recording.
TEST(MainWindowExtrasTest, EveryAddedItemHasAMnemonicOfItsOwnAndRecordingAKey) {
  ProgramHarness harness;
  harness.RunUntil(300 * kMillisecond);

  const auto& items = harness.desktop.Newest(kMainTemplateId)->addedItems;
  ASSERT_GE(items.size(), 7u);
  std::map<std::string, std::set<char>> lettersByMenu;
  for (const auto& item : items) {
    EXPECT_NE(item.mnemonic, '\0') << item.text;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(item.mnemonic)));
    EXPECT_TRUE(lettersByMenu[item.menuTitle].insert(letter).second)
        << item.text << ": '" << item.mnemonic << "' is taken in " << item.menuTitle;
    EXPECT_EQ(item.text.find('&'), std::string::npos) << item.text;
  }
  const auto* start = harness.desktop.Newest(kMainTemplateId)->AddedItem(kStartRecording);
  const auto* stop = harness.desktop.Newest(kMainTemplateId)->AddedItem(kStopRecording);
  ASSERT_NE(start, nullptr);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(start->text, "Start recording\u2026");
  EXPECT_EQ(stop->text, "Stop recording");
  EXPECT_EQ(start->key, "Ctrl+L");
  EXPECT_EQ(stop->key, "Ctrl+L");
}

TEST(MainWindowExtrasTest, StatusLineJoinsSegmentsAndIsSetOnlyWhenItChanges) {
  ProgramHarness harness(std::nullopt);  // no port: the connection's segment stays as it is
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  StatusLine& line = harness.program.statusLine;
  harness.desktop.At(500 * kMillisecond, [&] { line.upgrade = "update available"; });
  harness.desktop.At(1000 * kMillisecond, [&] { line.recording = "recording 3 s"; });
  harness.RunUntil(1500 * kMillisecond);

  const auto* main = harness.desktop.Newest(kMainTemplateId);
  ASSERT_TRUE(main->statusLine.has_value());
  EXPECT_EQ(*main->statusLine, "no port chosen \u00b7 recording 3 s \u00b7 update available");
  EXPECT_EQ(main->statusLineUpdates, 3) << "ten ticks, the first text and two changes";
  // A host with segments gets each on its own, in order, so each is cut on its own.
  const std::vector<std::string> segments{"no port chosen", "recording 3 s", "update available"};
  EXPECT_EQ(main->statusSegments, segments);
  EXPECT_EQ(ComposeStatusLine(StatusLine{"", "", "x"}), "x");
  EXPECT_EQ(ComposeStatusLine(StatusLine{}), "");
}

}  // namespace
}  // namespace zav
