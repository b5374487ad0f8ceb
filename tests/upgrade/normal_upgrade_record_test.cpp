// A normal upgrade (controller answering, on petrol, a file of exactly one image) by the
// whole program on the headless host, against a recording made before any check around the
// upgrade existed: the same windows at the same times, the same bytes on the line at the
// same times. Set ZAV_RECORD_NORMAL_UPGRADE=1 to write the recording afresh.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "resources/main_template.h"
#include "resources/menu.h"
#include "tests/support/program_harness.h"
#include "tests/upgrade/upload_scenario.h"
#include "upgrade/firmware_layout.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;

constexpr testing::Micros kCommandAt = 1 * kSecond + 20 * kMillisecond;
constexpr testing::Micros kRunFor = 40 * kSecond;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char pair[4];
  for (const std::uint8_t byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    text += pair;
  }
  return text;
}

// One line per window and per unit on the line, with its time (us).
std::string Record(const testing::ProgramHarness& harness) {
  std::ostringstream record;
  for (const headless::FileDialogRecord& dialog : harness.desktop.FileDialogs()) {
    record << "file dialog " << dialog.shownAt << "\n";
  }
  for (const headless::MessageRecord& message : harness.desktop.Messages()) {
    record << "message " << message.shownAt << " " << message.text << "\n";
  }
  for (const int templateId : {kMainTemplateId, 2000, 3000, 3100}) {
    for (const headless::DialogRecord* dialog : harness.desktop.DialogsOf(templateId)) {
      record << "dialog " << templateId << " " << dialog->openedAt << " "
             << dialog->closedAt.value_or(-1) << " result " << dialog->result << "\n";
    }
  }
  for (const testing::WireUnit& unit : testing::SplitProgramBytes(harness.line.SentByProgram())) {
    record << unit.at << " " << Hex(unit.bytes) << "\n";
  }
  return record.str();
}

// The first line where two records part, for the failure message.
std::string FirstDifference(const std::string& actual, const std::string& expected) {
  std::istringstream a(actual);
  std::istringstream e(expected);
  std::string actualLine;
  std::string expectedLine;
  for (int line = 1;; ++line) {
    const bool moreActual = static_cast<bool>(std::getline(a, actualLine));
    const bool moreExpected = static_cast<bool>(std::getline(e, expectedLine));
    if (!moreActual && !moreExpected) {
      return "none";
    }
    if (actualLine != expectedLine || moreActual != moreExpected) {
      return "line " + std::to_string(line) + ": now \"" + actualLine + "\", recorded \"" +
             expectedLine + "\"";
    }
  }
}

TEST(NormalUpgradeRecordTest, ShowsTheSameWindowsAndSendsTheSameBytesAsRecorded) {
  testing::ProgramHarness harness;
  const std::filesystem::path file = harness.dir / "firmware.zav";
  testing::WriteFile(file, testing::PatternBytes(kFirmwareImageBytes));
  harness.desktop.QueueFileAnswer(file.string());
  harness.desktop.At(kCommandAt, [&] { harness.desktop.Press(kMainTemplateId, kCommandUpgrade); });
  harness.RunUntil(kRunFor);
  ASSERT_EQ(harness.controller.Firmware(),
            testing::ExpectedImage(testing::PatternBytes(kFirmwareImageBytes)));

  const std::string recorded = Record(harness);
  const std::string path = std::string(ZAV_TEST_DATA_DIR) + "/normal_upgrade.record";
  if (std::getenv("ZAV_RECORD_NORMAL_UPGRADE") != nullptr) {
    std::ofstream(path, std::ios::binary) << recorded;
    GTEST_SKIP() << "recorded " << path;
  }
  const std::string expected = testing::ReadFile(path);
  EXPECT_TRUE(recorded == expected) << "the normal upgrade differs from the recording in " << path
                                    << ", first at " << FirstDifference(recorded, expected);
}

}  // namespace
}  // namespace zav
