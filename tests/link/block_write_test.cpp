// Parameter writes: the handshake on "Petrol", the write started from inside a tick and run
// by the ticks nested in its dialog, and cancel.

#include <gtest/gtest.h>

#include "tests/support/link_harness.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::LinkHarness;
using testing::SentFrame;

class BlockWriteTest : public ::testing::Test {
 protected:
  BlockWriteTest() {
    // Values that differ from everything the controller holds.
    for (int address = 80; address <= 94; ++address) {
      ImageValue(harness.link.image, static_cast<std::uint8_t>(address)) =
          static_cast<std::uint16_t>(1000 + address);
    }
  }

  void RequestWriteAt(headless::Micros time) {
    harness.desktop.At(time, [this] { RequestParameterWrite(harness.link); });
  }

  std::vector<SentFrame> WriteRequests() const {
    std::vector<SentFrame> writes;
    for (const SentFrame& frame : harness.FramesSent()) {
      if (frame.Letter() == 'S') {
        writes.push_back(frame);
      }
    }
    return writes;
  }

  LinkHarness harness;
};

TEST_F(BlockWriteTest, WritesRegisters80To92InOrderOnceThePetrolStateIsReported) {
  ASSERT_EQ(harness.controller.Status(), kStatusPetrol);
  RequestWriteAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(6 * kSecond);

  const auto writes = WriteRequests();
  ASSERT_EQ(writes.size(), 13u);
  for (std::size_t i = 0; i < writes.size(); ++i) {
    EXPECT_EQ(writes[i].Address(), 80 + i);
  }
  for (int address = 80; address <= 92; ++address) {
    EXPECT_EQ(harness.controller.Register(static_cast<std::uint8_t>(address)), 1000 + address);
  }
  EXPECT_NE(harness.controller.Register(93), 1093) << "members past 92 are never written";
  EXPECT_EQ(harness.link.cycle.sendRequest, SendRequest::None);
  EXPECT_EQ(harness.link.cycle.transferCursor, kNoTransfer);
}

TEST_F(BlockWriteTest, TickThatBringsPetrolPollsFirstThenOpensTheWrite) {
  RequestWriteAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(6 * kSecond);
  const auto writes = WriteRequests();
  ASSERT_FALSE(writes.empty());
  // The status that starts the write is drained in tick 3; its live poll leaves first, and
  // the write dialog opened at the end of that tick sends from the nested ticks on.
  const auto tick3 = harness.FramesOfTick(3);
  ASSERT_FALSE(tick3.empty());
  EXPECT_EQ(tick3.front().Address(), 32);
  EXPECT_GT(writes.front().tick, 3);
  const auto* dialog = harness.desktop.Newest(3000);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->controls.at(3001).barHigh, 13);
  EXPECT_EQ(dialog->result, 1);
}

TEST_F(BlockWriteTest, WriteNeverRequestsRegister93AndEndsOnTheReplyFor92) {
  RequestWriteAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(6 * kSecond);
  const auto writes = WriteRequests();
  ASSERT_FALSE(writes.empty());
  const int lastWriteTick = writes.back().tick;
  // The tick that drains the reply for 92 ends the write and polls the live values.
  const auto next = harness.FramesOfTick(lastWriteTick + 1);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].Letter(), 'Q');
  EXPECT_EQ(next[0].Address(), 32);
}

TEST_F(BlockWriteTest, CancelAfterTheReplyFor85StopsTheWrite) {
  RequestWriteAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  bool cancelScheduled = false;
  harness.link.hooks.showParameterValues = [&] {
    // The reply for 85 has been stored and the request for 86 has just left.
    if (!cancelScheduled && harness.link.cycle.transferCursor == 86) {
      cancelScheduled = true;
      harness.desktop.At(harness.clock.Now() + 40 * kMillisecond,
                         [&] { harness.desktop.Press(3000, 3002); });
    }
  };
  harness.RunUntil(6 * kSecond);

  ASSERT_TRUE(cancelScheduled);
  const auto writes = WriteRequests();
  ASSERT_EQ(writes.size(), 7u) << "80 to 85 answered, 86 sent";
  for (int address = 80; address <= 85; ++address) {
    EXPECT_EQ(harness.controller.Register(static_cast<std::uint8_t>(address)), 1000 + address);
  }
  for (int address = 87; address <= 92; ++address) {
    EXPECT_NE(harness.controller.Register(static_cast<std::uint8_t>(address)), 1000 + address);
  }
  EXPECT_EQ(harness.desktop.Newest(3000)->result, 0);
  const int cancelTick = writes.back().tick + 1;
  EXPECT_EQ(harness.FramesOfTick(cancelTick).back().Address(), 32) << "polling resumes";
}

TEST_F(BlockWriteTest, WriteRequestedOnGasSwitchesToPetrolFirst) {
  // A warm-enough threshold and no delay let the controller reach "Gas" within a second.
  harness.controller.SetRegister(80, 0);
  harness.controller.SetRegister(83, 0);
  harness.desktop.At(LinkHarness::TickTime(2) + 20 * kMillisecond,
                     [this] { CurrentCommand(harness.link) = 'B'; });
  std::vector<std::pair<int, std::uint16_t>> statusTicks;
  harness.link.hooks.showStatusText = [&](std::uint16_t status) {
    statusTicks.emplace_back(harness.Ticks(), status);
  };
  RequestWriteAt(3 * kSecond);
  harness.RunUntil(8 * kSecond);

  // Every tick that brings a status other than "Petrol" while the write waits sends the
  // switch frame before its live poll; the first "Petrol" starts the write.
  int gasTicks = 0;
  int petrolTick = 0;
  for (const auto& [tick, status] : statusTicks) {
    if (LinkHarness::TickTime(tick) >= 3 * kSecond && petrolTick == 0) {
      if (status == kStatusPetrol) {
        petrolTick = tick;
      } else {
        ++gasTicks;
        const auto frames = harness.FramesOfTick(tick);
        ASSERT_EQ(frames.size(), 2u) << "tick " << tick;
        EXPECT_EQ(frames[0].Letter(), 'B');
        EXPECT_EQ(frames[1].Address(), 32);
      }
    }
  }
  EXPECT_GE(gasTicks, 1);
  ASSERT_GT(petrolTick, 0);
  const auto writes = WriteRequests();
  ASSERT_EQ(writes.size(), 13u);
  EXPECT_GT(writes.front().tick, petrolTick);
  EXPECT_EQ(harness.controller.Register(92), 1092);
}

TEST_F(BlockWriteTest, WriteWaitsWithoutStatusAndStartsWhenPetrolArrives) {
  RequestWriteAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.line.loseToProgram = [](const std::vector<std::uint8_t>&) { return true; };
  harness.desktop.At(3 * kSecond, [this] { harness.line.loseToProgram = nullptr; });
  harness.RunUntil(8 * kSecond);
  const auto writes = WriteRequests();
  ASSERT_EQ(writes.size(), 13u);
  EXPECT_GT(writes.front().tick, static_cast<int>(3 * kSecond / testing::kTick));
}

}  // namespace
}  // namespace zav
