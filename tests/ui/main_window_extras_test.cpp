// Additions around the main window on the headless host: an added menu item reaches its
// handler through the main window's dispatch, and the status line shows the non-empty
// segments once per tick, only when the text changed.

#include <gtest/gtest.h>

#include "resources/main_template.h"
#include "tests/support/program_harness.h"
#include "ui/extra_commands.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::ProgramHarness;

constexpr int kMain = kMainTemplateId;
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
    harness.desktop.ChooseAddedItem(kMain, kLogItem);
    harness.desktop.Press(kMain, 20199);  // an id nobody registered does nothing
  });
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.desktop.At(450 * kMillisecond, [&] { harness.desktop.ClickStatusLine(kMain); });
  harness.RunUntil(500 * kMillisecond);

  EXPECT_EQ(logChosen, 1);
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  EXPECT_EQ(harness.desktop.Messages()[0].caption, "Connection help") << "the line's click";
  const auto* item = harness.desktop.Newest(kMain)->AddedItem(kLogItem);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->menuTitle, "Log");
  EXPECT_EQ(item->text, "Start recording\u2026");
}

TEST(MainWindowExtrasTest, StatusLineJoinsSegmentsAndIsSetOnlyWhenItChanges) {
  ProgramHarness harness(std::nullopt);  // no port: the connection's segment stays as it is
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  StatusLine& line = harness.program.statusLine;
  harness.desktop.At(500 * kMillisecond, [&] { line.upgrade = "update available"; });
  harness.desktop.At(1000 * kMillisecond, [&] { line.recording = "recording 3 s"; });
  harness.RunUntil(1500 * kMillisecond);

  const auto* main = harness.desktop.Newest(kMain);
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
