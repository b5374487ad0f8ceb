// The poll tick against the in-process controller, on virtual time.

#include <gtest/gtest.h>

#include <map>

#include "link/frames.h"
#include "tests/support/link_harness.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::LinkHarness;
using testing::SentFrame;

const RequestBytes kLivePoll{0x02, 0x51, 0x20, 0x00, 0x00, 0x73, 0x0D};
const RequestBytes kSwitchFrame{0x02, 0x42, 0x00, 0x00, 0x00, 0x44, 0x0D};
const RequestBytes kClearFrame{0x02, 0x43, 0x00, 0x00, 0x00, 0x45, 0x0D};

std::vector<RequestBytes> BytesOf(const std::vector<SentFrame>& frames) {
  std::vector<RequestBytes> bytes;
  for (const SentFrame& frame : frames) {
    bytes.push_back(frame.bytes);
  }
  return bytes;
}

// Ticks in which each block request of the given letter left, in order.
std::vector<std::pair<int, int>> BlockRequests(const LinkHarness& harness, char letter) {
  std::vector<std::pair<int, int>> requests;  // (tick, register)
  for (const SentFrame& frame : harness.FramesSent()) {
    if (frame.Letter() == letter && frame.Address() >= 80) {
      requests.emplace_back(frame.tick, frame.Address());
    }
  }
  return requests;
}

TEST(PollCycleTest, FirstTickSendsOnlyTheLivePoll) {
  LinkHarness harness;
  harness.RunUntil(LinkHarness::TickTime(1) + 100 * kMillisecond);
  EXPECT_EQ(BytesOf(harness.FramesSent()), std::vector<RequestBytes>{kLivePoll});
}

// The controller's answers that arrived between two moments, as (address, value).
std::map<int, std::uint16_t> AnswersBetween(const LinkHarness& harness, headless::Micros from,
                                            headless::Micros to) {
  std::map<int, std::uint16_t> answers;
  const auto& bytes = harness.line.SentByController();
  for (std::size_t i = 0; i + 6 <= bytes.size(); i += 6) {
    if (bytes[i].at > from && bytes[i + 5].at < to) {
      answers[bytes[i + 1].byte] = WordOf(bytes[i + 2].byte, bytes[i + 3].byte);
    }
  }
  return answers;
}

TEST(PollCycleTest, LiveRepliesReachTheTableAndStatusIsShown) {
  LinkHarness harness;
  std::vector<std::uint16_t> statuses;
  harness.link.hooks.showStatusText = [&](std::uint16_t status) { statuses.push_back(status); };
  harness.RunUntil(LinkHarness::TickTime(4) + 5 * kMillisecond);
  // Tick 4 drained the answers to tick 3's live poll.
  const auto answers = AnswersBetween(harness, LinkHarness::TickTime(3), LinkHarness::TickTime(4));
  ASSERT_EQ(answers.size(), 20u);
  for (int row = 0; row < kLiveRows; ++row) {
    EXPECT_EQ(harness.link.live.values[row], answers.at(kFirstLiveRegister + row))
        << "register " << kFirstLiveRegister + row;
  }
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.back(), answers.at(kStatusRegister));
}

struct OneShotFrame {
  std::uint8_t letter;
  RequestBytes frame;
};

class OneShotFrameTest : public ::testing::TestWithParam<OneShotFrame> {};

TEST_P(OneShotFrameTest, GoesOutOnceBeforeTheLivePoll) {
  LinkHarness harness;
  harness.desktop.At(LinkHarness::TickTime(3) + 20 * kMillisecond,
                     [&] { CurrentCommand(harness.link) = GetParam().letter; });
  harness.RunUntil(LinkHarness::TickTime(6) + 20 * kMillisecond);
  EXPECT_EQ(BytesOf(harness.FramesOfTick(4)),
            (std::vector<RequestBytes>{GetParam().frame, kLivePoll}));
  EXPECT_EQ(BytesOf(harness.FramesOfTick(5)), std::vector<RequestBytes>{kLivePoll});
  int received = 0;
  for (const sim::ReceivedRequest& request : harness.controller.Requests()) {
    received += request.letter == static_cast<char>(GetParam().letter) ? 1 : 0;
  }
  EXPECT_EQ(received, 1);
}

INSTANTIATE_TEST_SUITE_P(SwitchAndClearErrors, OneShotFrameTest,
                         ::testing::Values(OneShotFrame{'B', kSwitchFrame},
                                           OneShotFrame{'C', kClearFrame}));

class BlockReadTest : public ::testing::Test {
 protected:
  int StartReadAt(headless::Micros time, std::uint8_t first = 80) {
    harness.desktop.At(time,
                       [this, first] { result = RunBlockTransfer(harness.link, first, 'Q'); });
    return 0;
  }

  LinkHarness harness;
  int result = -1;
};

TEST_F(BlockReadTest, ReadsEveryRegisterOnePerTickFromTheSecondTick) {
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(10 * kSecond);

  EXPECT_EQ(result, 1);
  const auto requests = BlockRequests(harness, 'Q');
  ASSERT_EQ(requests.size(), 23u);
  for (std::size_t i = 0; i < requests.size(); ++i) {
    EXPECT_EQ(requests[i].second, 80 + static_cast<int>(i));
    // The first transfer after start finds no reply credit: it sends in its second tick.
    EXPECT_EQ(requests[i].first, 4 + static_cast<int>(i)) << "register " << requests[i].second;
  }
  for (int address = 80; address <= 102; ++address) {
    EXPECT_EQ(ImageValue(harness.link.image, static_cast<std::uint8_t>(address)),
              harness.controller.Register(static_cast<std::uint8_t>(address)))
        << "register " << address;
  }
  EXPECT_EQ(harness.link.cycle.transferCursor, kNoTransfer);
}

TEST_F(BlockReadTest, TickThatCompletesTheReadSendsTheLivePollAtOnce) {
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(10 * kSecond);
  const int lastRequestTick = BlockRequests(harness, 'Q').back().first;
  EXPECT_EQ(BytesOf(harness.FramesOfTick(lastRequestTick + 1)),
            std::vector<RequestBytes>{kLivePoll});
  for (int tick = 3; tick <= lastRequestTick; ++tick) {
    for (const SentFrame& frame : harness.FramesOfTick(tick)) {
      EXPECT_NE(frame.Address(), 32) << "no live poll while the transfer runs, tick " << tick;
    }
  }
}

TEST_F(BlockReadTest, TransferAfterACompletedOneSendsInItsFirstTick) {
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  StartReadAt(8 * kSecond + 20 * kMillisecond, 95);
  harness.RunUntil(12 * kSecond);
  const auto requests = BlockRequests(harness, 'Q');
  ASSERT_EQ(requests.size(), 23u + 8u);
  const int secondStartTick = static_cast<int>(8 * kSecond / testing::kTick) + 1;
  EXPECT_EQ(requests[23].second, 95);
  EXPECT_EQ(requests[23].first, secondStartTick);
}

TEST_F(BlockReadTest, DialogShowsProgressAndEndsWithinItsWatchPeriod) {
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(10 * kSecond);
  const auto* dialog = harness.desktop.Newest(3000);
  ASSERT_NE(dialog, nullptr);
  const auto& bar = dialog->controls.at(3001);
  EXPECT_EQ(bar.barHigh, 23);
  EXPECT_EQ(bar.barPosition, 23);
  const int lastTick = BlockRequests(harness, 'Q').back().first + 1;
  EXPECT_LE(*dialog->closedAt, LinkHarness::TickTime(lastTick) + 200 * kMillisecond);
}

TEST_F(BlockReadTest, LostRequestIsRepeatedEverySecondTickUntilAnswered) {
  int lostRequests = 0;
  harness.line.loseToController = [&](std::span<const std::uint8_t> write) {
    const bool request85 = write.size() == 7 && write[1] == 'Q' && write[2] == 85;
    if (request85 && lostRequests < 2) {
      ++lostRequests;
      return true;
    }
    return false;
  };
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(10 * kSecond);

  EXPECT_EQ(result, 1);
  std::vector<int> ticksOf85;
  for (const auto& [tick, address] : BlockRequests(harness, 'Q')) {
    if (address == 85) {
      ticksOf85.push_back(tick);
    }
  }
  ASSERT_EQ(ticksOf85.size(), 3u);
  EXPECT_EQ(ticksOf85[1] - ticksOf85[0], 2);
  EXPECT_EQ(ticksOf85[2] - ticksOf85[1], 2);
  EXPECT_EQ(ImageValue(harness.link.image, 85), harness.controller.Register(85));
}

TEST_F(BlockReadTest, LostReplyIsAskedForAgain) {
  bool lost = false;
  harness.line.loseToProgram = [&](const std::vector<std::uint8_t>& batch) {
    if (!lost && batch.size() == 6 && batch[1] == 90) {
      lost = true;
      return true;
    }
    return false;
  };
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.RunUntil(10 * kSecond);
  EXPECT_TRUE(lost);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ImageValue(harness.link.image, 90), harness.controller.Register(90));
}

TEST_F(BlockReadTest, CancelStopsRequestingAndKeepsWhatArrived) {
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.desktop.At(LinkHarness::TickTime(10) + 30 * kMillisecond,
                     [&] { harness.desktop.Press(3000, 3002); });
  harness.RunUntil(5 * kSecond);
  EXPECT_EQ(result, 0);
  const auto requests = BlockRequests(harness, 'Q');
  ASSERT_FALSE(requests.empty());
  EXPECT_LE(requests.back().first, 10);
  EXPECT_EQ(BytesOf(harness.FramesOfTick(11)), std::vector<RequestBytes>{kLivePoll});
  EXPECT_EQ(ImageValue(harness.link.image, 80), harness.controller.Register(80));
}

TEST_F(BlockReadTest, EscapeAndEnterLeaveTheDialogOpen) {
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.desktop.At(LinkHarness::TickTime(5), [&] {
    harness.desktop.Press(3000, kCommandEscape);
    harness.desktop.Press(3000, kCommandEnter);
  });
  harness.RunUntil(10 * kSecond);
  EXPECT_EQ(result, 1);
}

TEST_F(BlockReadTest, CloseBoxCancelsLikeTheButton) {
  StartReadAt(LinkHarness::TickTime(2) + 20 * kMillisecond);
  harness.desktop.At(LinkHarness::TickTime(6), [&] { harness.desktop.RequestClose(3000); });
  harness.RunUntil(3 * kSecond);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(harness.link.cycle.transferCursor, kNoTransfer);
}

TEST(PollCycleTest, LiveValuesAreClearedOnTheEighthTickWithoutStatus) {
  LinkHarness harness;
  harness.desktop.At(LinkHarness::TickTime(5) + 20 * kMillisecond, [&] {
    harness.line.loseToProgram = [](const std::vector<std::uint8_t>&) { return true; };
  });
  int lastStatusTick = 0;
  harness.link.hooks.showStatusText = [&](std::uint16_t) { lastStatusTick = harness.Ticks(); };
  std::vector<bool> anyLive;  // per tick, at the live display
  harness.link.hooks.showLiveValues = [&] {
    bool any = false;
    for (const std::uint16_t value : harness.link.live.values) {
      any = any || value != 0;
    }
    anyLive.push_back(any);
  };
  harness.RunUntil(LinkHarness::TickTime(20) + 20 * kMillisecond);
  ASSERT_GE(lastStatusTick, 5);
  ASSERT_GE(anyLive.size(), static_cast<std::size_t>(lastStatusTick + 8));
  // Seven silent ticks keep the values; the eighth clears them.
  EXPECT_TRUE(anyLive[lastStatusTick + 7 - 1]);
  EXPECT_FALSE(anyLive[lastStatusTick + 8 - 1]);
}

}  // namespace
}  // namespace zav
