// The live values: plausible, moving, warming up, and repeatable for a seed.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "link/wire.h"
#include "sim/controller.h"

namespace zav::sim {
namespace {

struct LiveRange {
  std::string name;
  std::uint8_t address;
  std::uint16_t lowest;
  std::uint16_t highest;
  bool gasOnly = false;  // only checked while on gas; 0 otherwise
};

// Ten minutes of running, on gas after the first minute (a switch at one minute, with the
// engine warm by then), sampled every 100 ms.
class SimLiveValues : public ::testing::TestWithParam<LiveRange> {
 protected:
  static void SetUpTestSuite() {
    Controller controller;
    samples = {};
    for (Micros at = 0; at <= 10 * 60 * kSecond; at += 100 * kMillisecond) {
      controller.Advance(at);
      if (at == 60 * kSecond) {
        for (const std::uint8_t byte : EncodeRequest(kLetterSwitch, 0, 0)) {
          controller.Receive(byte, at);
        }
      }
      Sample sample{controller.Status(), {}};
      for (std::uint8_t address = 32; address <= 50; ++address) {
        sample.live[address - 32U] = controller.Register(address);
      }
      samples.push_back(sample);
    }
  }

  struct Sample {
    std::uint16_t status;
    std::array<std::uint16_t, 19> live;
  };
  static inline std::vector<Sample> samples;
};

TEST_P(SimLiveValues, StayWithinTheirRange) {
  const LiveRange& range = GetParam();
  for (std::size_t index = 0; index < samples.size(); ++index) {
    const Sample& sample = samples[index];
    const std::uint16_t value = sample.live[range.address - 32U];
    if (range.gasOnly && sample.status != kStatusGas) {
      EXPECT_EQ(value, 0) << "sample " << index;
      continue;
    }
    EXPECT_GE(value, range.lowest) << "sample " << index;
    EXPECT_LE(value, range.highest) << "sample " << index;
  }
}

TEST_P(SimLiveValues, MoveBetweenPolls) {
  const LiveRange& range = GetParam();
  std::size_t changes = 0;
  for (std::size_t index = 1; index < samples.size(); ++index) {
    changes +=
        samples[index].live[range.address - 32U] != samples[index - 1].live[range.address - 32U]
            ? 1
            : 0;
  }
  EXPECT_GT(changes, samples.size() / 4);
}

INSTANTIATE_TEST_SUITE_P(
    Registers, SimLiveValues,
    ::testing::Values(LiveRange{"Petrol1", 32, 5000, 12000}, LiveRange{"Petrol4", 35, 5000, 12000},
                      // Up to 8.5 ms: the factors' line at the longest idle petrol times.
                      LiveRange{"Gas1", 36, 5000, 17000, true},
                      LiveRange{"Gas4", 39, 5000, 17000, true},
                      LiveRange{"PetrolMean", 40, 5000, 12000}, LiveRange{"Manifold", 45, 300, 700},
                      LiveRange{"Regulator", 46, 300, 1800}, LiveRange{"Battery", 48, 13800, 14200},
                      LiveRange{"Rpm", 49, 400, 3200}, LiveRange{"Lambda", 50, 100, 900}),
    [](const ::testing::TestParamInfo<LiveRange>& instance) { return instance.param.name; });

TEST(SimEngine, CoolantWarmsFromAmbientTowardsOperatingTemperatureOverMinutes) {
  Controller controller;
  controller.Advance(0);
  EXPECT_NEAR(controller.Register(44), 20, 2);
  controller.Advance(60 * kSecond);
  const std::uint16_t afterAMinute = controller.Register(44);
  EXPECT_GT(afterAMinute, 40);
  EXPECT_LT(afterAMinute, 75);
  controller.Advance(6 * 60 * kSecond);
  EXPECT_NEAR(controller.Register(44), 85, 3);
}

// The answers depend on the seed and on time, not on how often the host looks.
TEST(SimEngine, ValuesDependOnSeedAndTimeNotOnHowOftenTimeIsAdvanced) {
  Controller often(ControllerOptions{5, {}});
  Controller seldom(ControllerOptions{5, {}});
  Controller otherSeed(ControllerOptions{6, {}});
  bool seedsDiffer = false;
  for (Micros at = 0; at <= 30 * kSecond; at += kMillisecond) {
    often.Advance(at);
    if (at % (150 * kMillisecond) != 0) {
      continue;
    }
    seldom.Advance(at);
    otherSeed.Advance(at);
    for (std::uint8_t address = 32; address <= 50; ++address) {
      ASSERT_EQ(often.Register(address), seldom.Register(address)) << at << " " << int{address};
      seedsDiffer = seedsDiffer || often.Register(address) != otherSeed.Register(address);
    }
  }
  EXPECT_TRUE(seedsDiffer);
}

}  // namespace
}  // namespace zav::sim
