// The upgrade step of the tick: the 'U' frame, the upload dialog with the line left to it,
// and polling resumed in the same tick.

#include <gtest/gtest.h>

#include "tests/support/link_harness.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::LinkHarness;

constexpr int kUploadStandInTemplate = 77;
const RequestBytes kUpgradeFrame{0x02, 0x55, 0x00, 0x00, 0x00, 0x57, 0x0D};

class UpgradeStepTest : public ::testing::Test {
 protected:
  UpgradeStepTest() {
    // Stands in for the upload dialog: open for two seconds, writing nothing.
    harness.link.hooks.runUpload = [this] {
      bytesBeforeUpload = harness.line.SentByProgram().size();
      ticksBeforeUpload = harness.Ticks();
      static const DialogTemplate kUpload{.id = kUploadStandInTemplate, .title = "upload"};
      const headless::Micros end = harness.clock.Now() + 2 * kSecond;
      harness.desktop.At(end, [this] { harness.desktop.RequestClose(kUploadStandInTemplate); });
      harness.desktop.RunDialog(kUpload, harness.link.mainWindow,
                                [](Desktop& desktop, WindowRef window, const DialogEvent& e) {
                                  if (e.message == DialogMessage::Close) {
                                    desktop.EndDialog(window, 0);
                                  }
                                  return true;
                                });
      bytesAfterUpload = harness.line.SentByProgram().size();
      ticksAfterUpload = harness.Ticks();
      commandDuringUpload = CurrentCommand(harness.link);
    };
    harness.desktop.At(LinkHarness::TickTime(3) + 20 * kMillisecond, [this] {
      CurrentCommand(harness.link) = 'U';
      harness.link.cycle.upgradeArmed = UpgradeArming::Armed;
    });
  }

  LinkHarness harness;
  std::size_t bytesBeforeUpload = 0;
  std::size_t bytesAfterUpload = 0;
  int ticksBeforeUpload = 0;
  int ticksAfterUpload = 0;
  std::uint8_t commandDuringUpload = 0;
};

TEST_F(UpgradeStepTest, NextTickSendsTheUpgradeFrameAndLeavesTheLineToTheUpload) {
  harness.RunUntil(5 * kSecond);
  const auto tick4 = harness.FramesOfTick(4);
  ASSERT_FALSE(tick4.empty());
  EXPECT_EQ(tick4.front().bytes, kUpgradeFrame);
  EXPECT_EQ(commandDuringUpload, 'Q');
  EXPECT_GE(ticksAfterUpload - ticksBeforeUpload, 12) << "ticks go on inside the upload";
  EXPECT_EQ(bytesAfterUpload, bytesBeforeUpload) << "nested ticks send nothing while armed";
  EXPECT_EQ(harness.link.cycle.upgradeArmed, UpgradeArming::Disarmed);
}

TEST_F(UpgradeStepTest, SameTickPollsTheLiveValuesOnceTheUploadEnds) {
  harness.RunUntil(5 * kSecond);
  const auto frames = harness.FramesSent();
  const auto upgrade = std::find_if(frames.begin(), frames.end(),
                                    [](const auto& frame) { return frame.Letter() == 'U'; });
  ASSERT_NE(upgrade, frames.end());
  ASSERT_NE(upgrade + 1, frames.end());
  EXPECT_EQ((upgrade + 1)->Address(), 32);
  EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                          [](const auto& frame) { return frame.Letter() == 'U'; }),
            1);
}

TEST_F(UpgradeStepTest, AnswersThatArriveDuringTheUploadAreDrainedNotStored) {
  harness.link.hooks.showStatusText = [this](std::uint16_t) {
    EXPECT_EQ(harness.link.cycle.upgradeArmed, UpgradeArming::Disarmed)
        << "no frame is read while armed";
  };
  harness.RunUntil(5 * kSecond);
}

}  // namespace
}  // namespace zav
