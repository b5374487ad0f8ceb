// Fault injection: off by default, repeatable for a seed, and each fault doing what it says.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/wire.h"
#include "sim/controller.h"
#include "tests/sim/line_driver.h"

namespace zav::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ArrivedByte;
using testing::LineDriver;

constexpr int kPolls = 200;
constexpr std::size_t kPollAnswerBytes = 20 * 6;

// Sends `polls` live polls, 150 ms apart as the tool does, and returns every answer byte.
std::vector<ArrivedByte> PollRepeatedly(Controller& controller, int polls) {
  LineDriver line(controller);
  std::vector<ArrivedByte> arrived;
  for (int poll = 0; poll < polls; ++poll) {
    line.SendRequest(kLetterQuery, kFirstLiveRegister);
    line.Wait(150 * kMillisecond - 7 * kByteTime, 5 * kMillisecond);
    const std::vector<ArrivedByte> some = line.TakeArrived();
    arrived.insert(arrived.end(), some.begin(), some.end());
  }
  line.Wait(10 * kSecond, 10 * kMillisecond);  // split frames may still be on their way
  const std::vector<ArrivedByte> rest = line.TakeArrived();
  arrived.insert(arrived.end(), rest.begin(), rest.end());
  return arrived;
}

std::vector<ArrivedByte> PollWith(const FaultOptions& faults, std::uint32_t seed = 7,
                                  int polls = kPolls) {
  Controller controller(ControllerOptions{seed, faults});
  return PollRepeatedly(controller, polls);
}

bool SameBytesAndTimes(const std::vector<ArrivedByte>& one, const std::vector<ArrivedByte>& two) {
  return std::equal(
      one.begin(), one.end(), two.begin(), two.end(),
      [](const ArrivedByte& a, const ArrivedByte& b) { return a.byte == b.byte && a.at == b.at; });
}

FaultOptions EveryFrameFault() {
  FaultOptions faults;
  faults.dropRate = 0.05;
  faults.corruptRate = 0.05;
  faults.duplicateRate = 0.05;
  faults.splitRate = 0.1;
  faults.strayRate = 0.1;
  faults.silenceEveryMs = 3000;
  faults.silenceForMs = 500;
  faults.dropInputRate = 0.02;
  return faults;
}

TEST(SimFaults, WithoutFaultsEveryPollGetsExactlyItsTwentySoundFrames) {
  Bytes answers;
  for (const ArrivedByte& arrived : PollWith(FaultOptions{}, 7, 20)) {
    answers.push_back(arrived.byte);
  }
  std::vector<testing::ResponseFields> frames;
  EXPECT_TRUE(testing::ParseResponses(answers, frames));
  EXPECT_EQ(frames.size(), 20U * 20U);
}

TEST(SimFaults, SameSeedGivesTheSameFaultsAndAnotherSeedOthers) {
  const std::vector<ArrivedByte> first = PollWith(EveryFrameFault(), 11);
  EXPECT_TRUE(SameBytesAndTimes(first, PollWith(EveryFrameFault(), 11)));
  EXPECT_FALSE(SameBytesAndTimes(first, PollWith(EveryFrameFault(), 12)));
}

struct RateCase {
  const char* name;
  double FaultOptions::*rate;
  double byteShareChange;  // expected change of the bytes received, as a share of those sent
};

class SimByteFaultRates : public ::testing::TestWithParam<RateCase> {};

TEST_P(SimByteFaultRates, RateOfTenPercentChangesRoughlyThatShareOfBytes) {
  FaultOptions faults;
  faults.*(GetParam().rate) = 0.1;
  const double sent = kPolls * kPollAnswerBytes;
  const double change = static_cast<double>(PollWith(faults).size()) / sent - 1.0;
  EXPECT_NEAR(change, GetParam().byteShareChange, 0.03);
}

INSTANTIATE_TEST_SUITE_P(Rates, SimByteFaultRates,
                         ::testing::Values(RateCase{"Drop", &FaultOptions::dropRate, -0.1},
                                           RateCase{"Duplicate", &FaultOptions::duplicateRate,
                                                    0.1}),
                         [](const auto& instance) { return std::string(instance.param.name); });

TEST(SimFaults, SplitFrameHasAGapOfAtLeastATenthOfASecondInside) {
  FaultOptions faults;
  faults.splitRate = 1.0;
  const std::vector<ArrivedByte> arrived = PollWith(faults, 7, 1);
  ASSERT_EQ(arrived.size(), kPollAnswerBytes);
  for (std::size_t frame = 0; frame < 20; ++frame) {
    Micros widestGap = 0;
    for (std::size_t index = frame * 6 + 1; index < frame * 6 + 6; ++index) {
      widestGap = std::max(widestGap, arrived[index].at - arrived[index - 1].at);
    }
    EXPECT_GE(widestGap, 100 * kMillisecond) << frame;
    EXPECT_LE(widestGap, 300 * kMillisecond + kByteTime) << frame;
  }
}

TEST(SimFaults, NothingIsSentDuringASilentPeriod) {
  FaultOptions faults;
  faults.silenceEveryMs = 1000;
  faults.silenceForMs = 400;
  Controller controller(ControllerOptions{1, faults});
  LineDriver line(controller);
  line.Wait(1100 * kMillisecond);
  EXPECT_TRUE(line.Ask(kLetterQuery, 80, 0, 100 * kMillisecond).empty());
  line.Wait(300 * kMillisecond);
  EXPECT_EQ(line.Ask(kLetterQuery, 80, 0, 100 * kMillisecond).size(), 6U);
}

TEST(SimFaults, DroppedInputOfTenPercentLosesRoughlyHalfTheSevenByteRequests) {
  FaultOptions faults;
  faults.dropInputRate = 0.1;
  Controller controller(ControllerOptions{3, faults});
  LineDriver line(controller);
  for (int request = 0; request < 500; ++request) {
    line.SendRequest(kLetterQuery, 80);
    line.Wait(200 * kMillisecond, 10 * kMillisecond);
  }
  // A request survives when all seven bytes do: 0.9^7, about 48 %.
  EXPECT_NEAR(static_cast<double>(controller.Requests().size()) / 500.0, 0.48, 0.08);
}

}  // namespace
}  // namespace zav::sim
