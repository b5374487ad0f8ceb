// The change between petrol and gas as the status register reports it.

#include <gtest/gtest.h>

#include <vector>

#include "link/wire.h"
#include "sim/controller.h"
#include "sim/switch_over.h"
#include "tests/sim/line_driver.h"

namespace zav::sim {
namespace {

constexpr std::uint8_t kCoolant = 44;
constexpr std::uint8_t kRpm = 49;

class SimSwitchOver : public ::testing::Test {
 protected:
  // The statuses the controller goes through from now on, each with when it began.
  struct Visit {
    std::uint16_t status;
    Micros at;
  };

  std::vector<Visit> WatchStatus(Micros duration) {
    std::vector<Visit> visits{{controller.Status(), line.Now()}};
    const Micros end = line.Now() + duration;
    while (line.Now() < end) {
      line.Wait(kMillisecond);
      if (controller.Status() != visits.back().status) {
        visits.push_back({controller.Status(), line.Now()});
      }
    }
    return visits;
  }

  static std::vector<std::uint16_t> Statuses(const std::vector<Visit>& visits) {
    std::vector<std::uint16_t> statuses;
    for (const Visit& visit : visits) {
      statuses.push_back(visit.status);
    }
    return statuses;
  }

  Controller controller;
  testing::LineDriver line{controller};
};

TEST_F(SimSwitchOver, ColdEngineGoesThroughPreheatDelayAndFlushingToGas) {
  controller.SetRegister(kRpm, 800);
  line.SendRequest(kLetterSwitch, 0);
  const std::vector<Visit> visits = WatchStatus(120 * kSecond);
  EXPECT_EQ(Statuses(visits), (std::vector<std::uint16_t>{kStatusPreheat, kStatusDelay,
                                                          kStatusFlushing, kStatusGas}));
  ASSERT_EQ(visits.size(), 4U);
  // The engine warms from about 20 C; register 80 asks for 40 C.
  EXPECT_GT(visits[1].at - visits[0].at, 5 * kSecond);
  EXPECT_GE(controller.Register(kCoolant), 40);
  // "Delay" lasts register 83, 500 ms, to within a model step.
  EXPECT_NEAR(static_cast<double>(visits[2].at - visits[1].at), 500.0 * kMillisecond,
              static_cast<double>(kModelStep));
}

TEST_F(SimSwitchOver, LowRpmHoldsGasBackUntilTheEngineSpeedsUp) {
  controller.SetRegister(kCoolant, 80);
  controller.SetRegister(kRpm, 500);
  line.SendRequest(kLetterSwitch, 0);
  line.Wait(2 * kSecond);
  EXPECT_EQ(controller.Status(), kStatusLowRpm);
  controller.SetRegister(kRpm, 900);
  line.Wait(100 * kMillisecond);
  EXPECT_EQ(controller.Status(), kStatusGas);
  controller.SetRegister(kRpm, 500);
  line.Wait(100 * kMillisecond);
  EXPECT_EQ(controller.Status(), kStatusLowRpm);
}

class SimSwitchBack : public SimSwitchOver, public ::testing::WithParamInterface<std::uint16_t> {};

TEST_P(SimSwitchBack, SwitchReturnsToPetrolAtOnceAndTheNextPollSaysSo) {
  controller.SetRegister(kStatusRegister, GetParam());
  line.SendRequest(kLetterSwitch, 0);
  EXPECT_EQ(controller.Status(), kStatusPetrol);
  std::vector<testing::ResponseFields> frames;
  ASSERT_TRUE(testing::ParseResponses(line.Ask(kLetterQuery, kFirstLiveRegister), frames));
  ASSERT_EQ(frames.size(), 20U);
  EXPECT_EQ(frames.back().value, kStatusPetrol);
}

INSTANTIATE_TEST_SUITE_P(EveryOtherState, SimSwitchBack,
                         ::testing::Values(kStatusGas, kStatusPreheat, kStatusLowRpm,
                                           kStatusFlushing, kStatusDelay, 99));

}  // namespace
}  // namespace zav::sim
