// Uploads that meet trouble: a stray ACK, lost answers, NAK bursts, lost bytes, and the user
// cancelling in the middle. The image still arrives whole, or nothing more is sent.

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/transfer_template.h"
#include "tests/upgrade/upload_scenario.h"
#include "upgrade/firmware_layout.h"
#include "upgrade/upload_exchange.h"

namespace zav {
namespace {

using testing::DeviceUse;
using testing::kMillisecond;
using testing::kSecond;
using testing::Micros;
using testing::PatternBytes;
using testing::UploadScenario;
using testing::UploadScenarioTest;
using testing::WireUnit;

using testing::kLivePoll;

// True when every block went out after its predecessor: the blocks run 1, 2, ... 240 with
// repeats but never a gap or a step back.
::testing::AssertionResult NoBlockSkipped(const std::vector<int>& blocks) {
  int previous = 0;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (blocks[i] != previous && blocks[i] != previous + 1) {
      return ::testing::AssertionFailure()
             << "block " << blocks[i] << " after block " << previous << " (packet " << i << ")";
    }
    previous = blocks[i];
  }
  if (previous != 240) {
    return ::testing::AssertionFailure() << "the last block was " << previous;
  }
  return ::testing::AssertionSuccess();
}

TEST_F(UploadScenarioTest, StrayAckBeforeTheFirstNakSkipsNothing) {
  sim::FaultOptions faults;
  faults.strayAck = true;
  harness.controller.SetFaults(faults);
  const std::string file = PatternBytes(kFirmwareImageBytes);
  ChooseFirmware(file);
  RunUntil(60 * kSecond);
  ASSERT_EQ(UploadDialog()->result, 1);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
  const std::vector<int> blocks = testing::BlocksSent(Units());
  ASSERT_FALSE(blocks.empty());
  EXPECT_EQ(blocks.front(), 1);
  EXPECT_EQ(blocks.size(), 240u);
}

TEST_F(UploadScenarioTest, LostEotIsSentAgainOnTheControllersNak) {
  bool eotLost = false;
  harness.line.loseToController = [&](std::span<const std::uint8_t> write) {
    const bool lose = !eotLost && write.size() == 1 && write[0] == kEot;
    eotLost = eotLost || lose;
    return lose;
  };
  ChooseFirmware(PatternBytes(kFirmwareImageBytes));
  RunUntil(60 * kSecond);
  EXPECT_EQ(UploadDialog()->result, 1);
  const std::vector<WireUnit> units = Units();
  EXPECT_EQ(std::count_if(units.begin(), units.end(),
                          [](const WireUnit& unit) { return unit.kind == WireUnit::Kind::kEot; }),
            2);
  EXPECT_EQ(harness.controller.Firmware().size(), kFirmwareImageBytes);
}

TEST_F(UploadScenarioTest, LostAckCostsOneRepeatOfThatBlockOnly) {
  int acks = 0;
  harness.line.loseToProgram = [&](const std::vector<std::uint8_t>& batch) {
    return batch == std::vector<std::uint8_t>{kAck} && ++acks == 100;
  };
  const std::string file = PatternBytes(kFirmwareImageBytes);
  ChooseFirmware(file);
  RunUntil(60 * kSecond);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
  const std::vector<int> blocks = testing::BlocksSent(Units());
  EXPECT_EQ(blocks.size(), 241u);
  EXPECT_EQ(std::count(blocks.begin(), blocks.end(), 100), 2);
  EXPECT_TRUE(NoBlockSkipped(blocks));
}

sim::ControllerOptions TroubledLine(std::uint32_t seed) {
  sim::ControllerOptions options;
  options.seed = seed;
  options.faults.nakBurst = 3;
  options.faults.nakBurstRate = 0.05;
  options.faults.dropInputRate = 0.0003;
  return options;
}

class TroubledUploadTest : public ::testing::TestWithParam<std::uint32_t>, public UploadScenario {
 protected:
  TroubledUploadTest() : UploadScenario(TroubledLine(GetParam())) {}
};

TEST_P(TroubledUploadTest, NakBurstsAndLostBytesStillDeliverTheImage) {
  const std::string file = PatternBytes(kFirmwareImageBytes);
  ChooseFirmware(file);
  RunUntil(180 * kSecond);
  ASSERT_NE(UploadDialog(), nullptr);
  EXPECT_EQ(UploadDialog()->result, 1);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
  const std::vector<int> blocks = testing::BlocksSent(Units());
  EXPECT_GT(blocks.size(), 245u) << "the faults made the controller ask again";
  EXPECT_TRUE(NoBlockSkipped(blocks));
}

INSTANTIATE_TEST_SUITE_P(Seeds, TroubledUploadTest, ::testing::Values(3u, 11u, 2026u));

// When an ACK reached the program that then waited at least 5 ms unread, found in a run of
// its own: a Cancel 1 ms after that moment finds the ACK waiting on the line.
Micros ArrivalOfAnAckLeftWaiting() {
  UploadScenario dryRun;
  dryRun.ChooseFirmware(PatternBytes(kFirmwareImageBytes));
  dryRun.RunUntil(60 * kSecond);
  const auto& fromController = dryRun.harness.line.SentByController();
  std::size_t taken = 0;  // bytes are read in the order they arrived
  for (const DeviceUse& use : dryRun.device.uses) {
    if (use.write || !use.byte) {
      continue;
    }
    const Micros arrival = fromController.at(taken++).at;
    if (use.whileUploadOpen && *use.byte == kAck && use.at - arrival > 5 * kMillisecond &&
        arrival > 10 * kSecond) {
      return arrival;
    }
  }
  return 0;
}

TEST_F(UploadScenarioTest, CancelSendsNothingMoreDrainsTheAnswerAndPollsAgain) {
  const Micros ackWaiting = ArrivalOfAnAckLeftWaiting();
  ASSERT_GT(ackWaiting, 0);
  const Micros cancelAt = ackWaiting + 1 * kMillisecond;
  ChooseFirmware(PatternBytes(kFirmwareImageBytes));
  harness.desktop.At(cancelAt,
                     [this] { harness.desktop.Press(kTransferTemplateId, kTransferCancelButton); });
  int statusesAfterCancel = 0;
  harness.link.hooks.showStatusText = [&](std::uint16_t) {
    statusesAfterCancel += harness.clock.Now() > cancelAt ? 1 : 0;
  };
  RunUntil(cancelAt + 2 * kSecond);

  EXPECT_EQ(UploadDialog()->result, 0);
  EXPECT_EQ(*UploadDialog()->closedAt, cancelAt);
  EXPECT_EQ(harness.link.cycle.upgradeArmed, UpgradeArming::Disarmed);
  EXPECT_TRUE(harness.desktop.Messages().empty());
  EXPECT_TRUE(upload.image.empty());
  EXPECT_EQ(SentByTheUploadTickAfterTheDialog(), kLivePoll) << "nothing but the live poll";
  // The ACK that was waiting is drained before the live poll goes out, not left for a tick.
  const auto afterCancel = std::find_if(device.uses.begin(), device.uses.end(),
                                        [&](const DeviceUse& use) { return use.at >= cancelAt; });
  ASSERT_GE(device.uses.end() - afterCancel, 3);
  EXPECT_FALSE(afterCancel[0].write);
  EXPECT_EQ(afterCancel[0].byte, std::optional<std::uint8_t>(kAck));
  EXPECT_FALSE(afterCancel[1].write);
  EXPECT_EQ(afterCancel[1].byte, std::nullopt);
  EXPECT_TRUE(afterCancel[2].write);
  EXPECT_LT(harness.controller.Firmware().size(), kFirmwareImageBytes);
  EXPECT_GT(statusesAfterCancel, 5) << "polling resumed";
}

}  // namespace
}  // namespace zav
