// Whole uploads on the headless host against the in-process controller: the image that
// arrives, the bytes on the line, the progress bar, the nested poll ticks, and polling
// resumed in the tick that ran the upload.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "resources/transfer_template.h"
#include "tests/upgrade/upload_scenario.h"
#include "upgrade/firmware_layout.h"

namespace zav {
namespace {

using testing::kChoiceTime;
using testing::kMillisecond;
using testing::kSecond;
using testing::PatternBytes;
using testing::UploadScenarioTest;
using testing::WireUnit;

const std::vector<std::uint8_t> kUpgradeFrame{0x02, 0x55, 0x00, 0x00, 0x00, 0x57, 0x0D};
using testing::kLivePoll;

std::vector<int> OneToN(int n) {
  std::vector<int> blocks(static_cast<std::size_t>(n));
  std::iota(blocks.begin(), blocks.end(), 1);
  return blocks;
}

// The units from the 'U' frame on (it included).
std::vector<WireUnit> FromUpgradeFrame(const std::vector<WireUnit>& units) {
  const auto upgrade = std::find_if(units.begin(), units.end(),
                                    [](const WireUnit& unit) { return unit.IsFrame('U', 0); });
  return {upgrade, units.end()};
}

TEST_F(UploadScenarioTest, ControllerReceivesExactlyTheImageOfAFullSizeFile) {
  const std::string file = PatternBytes(kFirmwareImageBytes);
  ChooseFirmware(file);
  RunUntil(60 * kSecond);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
  EXPECT_EQ(UploadDialog()->result, 1);
  EXPECT_EQ(harness.link.cycle.upgradeArmed, UpgradeArming::Disarmed);
  EXPECT_TRUE(harness.desktop.Messages().empty()) << "neither ending is reported";
}

TEST_F(UploadScenarioTest, UpgradeFrameThen240BlocksInOrderThenOneEot) {
  const std::string file = PatternBytes(kFirmwareImageBytes);
  ChooseFirmware(file);
  RunUntil(60 * kSecond);
  const std::vector<WireUnit> units = FromUpgradeFrame(Units());
  ASSERT_GE(units.size(), 243u);
  EXPECT_EQ(units[0].bytes, kUpgradeFrame);
  EXPECT_EQ(testing::BlocksSent(units), OneToN(240)) << "a clean line: each block once";
  EXPECT_EQ(units[241].kind, WireUnit::Kind::kEot);
  EXPECT_EQ(units[242].kind, WireUnit::Kind::kFrame);

  // Block 1 went out on the controller's first NAK: 01 01 FE, the file's first 128 bytes.
  std::vector<std::uint8_t> block1{0x01, 0x01, 0xFE};
  block1.insert(block1.end(), file.begin(), file.begin() + 128);
  const unsigned sum =
      std::accumulate(file.begin(), file.begin() + 128, 0U,
                      [](unsigned s, char c) { return s + static_cast<std::uint8_t>(c); });
  block1.push_back(static_cast<std::uint8_t>(sum));
  EXPECT_EQ(units[1].bytes, block1);
}

TEST_F(UploadScenarioTest, TickThatRanTheUploadPollsTheLiveValuesRightAfterIt) {
  ChooseFirmware(PatternBytes(kFirmwareImageBytes));
  RunUntil(60 * kSecond);
  EXPECT_EQ(SentByTheUploadTickAfterTheDialog(), kLivePoll);
}

TEST_F(UploadScenarioTest, HundredByteFileIsFilledWithZerosToAll240Blocks) {
  const std::string file = PatternBytes(100);
  ChooseFirmware(file);
  RunUntil(60 * kSecond);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
  const std::vector<WireUnit> units = FromUpgradeFrame(Units());
  EXPECT_EQ(testing::BlocksSent(units), OneToN(240));
  for (std::size_t i = 2; i <= 240; ++i) {
    EXPECT_EQ(units[i].bytes.back(), 0x00) << "checksum of the empty block " << i;
  }
}

TEST_F(UploadScenarioTest, LongerFileIsCutAfter30720Bytes) {
  const std::string file = PatternBytes(40000);
  ChooseFirmware(file);
  RunUntil(60 * kSecond);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
  EXPECT_EQ(testing::BlocksSent(Units()), OneToN(240));
  EXPECT_EQ(UploadDialog()->result, 1);
}

TEST_F(UploadScenarioTest, BarStartsAtOneClimbsWithTheBlocksAndEndsFull) {
  ChooseFirmware(PatternBytes(kFirmwareImageBytes));
  std::vector<int> positions;  // sampled every 100 ms while the dialog is open
  for (int sample = 1; sample < 600; ++sample) {
    harness.desktop.At(kChoiceTime + sample * 100 * kMillisecond, [&] {
      const auto* dialog = UploadDialog();
      if (dialog != nullptr && dialog->IsOpen()) {
        positions.push_back(dialog->controls.at(kTransferProgressBar).barPosition);
      }
    });
  }
  RunUntil(60 * kSecond);
  ASSERT_GT(positions.size(), 300u);
  EXPECT_EQ(positions.front(), 1);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_GT(positions.back(), 235);
  const auto& bar = UploadDialog()->controls.at(kTransferProgressBar);
  EXPECT_EQ(bar.barHigh, 241);
  EXPECT_EQ(bar.barPosition, 241) << "the tick that took the ACK of the EOT";
}

TEST_F(UploadScenarioTest, NestedTicksNeitherReadNorWriteWhileTheUploadRuns) {
  MarkUploadProcedure();
  ChooseFirmware(PatternBytes(kFirmwareImageBytes));
  int nestedTicks = 0;
  harness.link.hooks.showConfigName = [&] { nestedTicks += device.uploadOpen ? 1 : 0; };
  RunUntil(60 * kSecond);
  ASSERT_EQ(UploadDialog()->result, 1);
  EXPECT_GT(nestedTicks, 200) << "the main window ticked on behind the upload";
  int uploadUses = 0;
  for (const testing::DeviceUse& use : device.uses) {
    if (use.whileUploadOpen) {
      EXPECT_TRUE(use.byUploadDialog) << (use.write ? "write" : "read") << " at " << use.at;
      ++uploadUses;
    }
  }
  EXPECT_GT(uploadUses, 241);
}

// A choice that arms nothing: the line carries nothing but the live poll.
struct NoUpload {
  const char* name;
  bool cancel;  // else a folder is chosen

  friend void PrintTo(const NoUpload& test, std::ostream* out) { *out << test.name; }
};

class NothingArmedTest : public UploadScenarioTest,
                         public ::testing::WithParamInterface<NoUpload> {};

TEST_P(NothingArmedTest, SendsNoUpgradeFrame) {
  const std::filesystem::path folder = harness.dir / "folder.zav";
  std::filesystem::create_directory(folder);
  if (GetParam().cancel) {
    harness.desktop.QueueFileAnswer(std::nullopt);
  } else {
    harness.desktop.QueueFileAnswer(folder.string());
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 500 * kMillisecond);
  }
  harness.desktop.At(kChoiceTime, [this] { UpgradeCommand(harness.link, upload); });
  RunUntil(3 * kSecond);
  for (const WireUnit& unit : Units()) {
    EXPECT_EQ(unit.bytes, kLivePoll);
  }
  EXPECT_EQ(UploadDialog(), nullptr);
  EXPECT_EQ(harness.desktop.Messages().size(), GetParam().cancel ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Choices, NothingArmedTest,
                         ::testing::Values(NoUpload{"Cancelled", true}, NoUpload{"Folder", false}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace zav
