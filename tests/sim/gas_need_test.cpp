// The engine's own gas need and the petrol unit's loop on gas, on the virtual clock: the trim
// is 1 on petrol, follows need/delivered with a lag of about 2 s on gas, stops at +-25 % with
// the lambda probe held lean or rich, and the drive cycle covers the petrol times.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "link/wire.h"
#include "sim/controller.h"
#include "sim/drive_cycle.h"
#include "sim/gas_factors.h"

namespace zav::sim {
namespace {

constexpr Micros kSwitchAt = 180 * kSecond;  // after one whole drive cycle on petrol
constexpr Micros kEnd = 372 * kSecond;
constexpr Micros kEvery = 100 * kMillisecond;

struct Moment {
  Micros at = 0;
  std::uint16_t status = 0;
  double petrolMs = 0.0;  // BA_1
  double trim = 0.0;
  std::uint16_t lambdaMv = 0;
  std::uint16_t rpm = 0;
};

std::vector<Moment> Drive(GasFactors need) {
  ControllerOptions options;
  options.engine = EngineOptions{need, DriveMode::kCycle};
  Controller controller(options);
  std::vector<Moment> moments;
  for (Micros at = 0; at <= kEnd; at += kEvery) {
    controller.Advance(at);
    if (at == kSwitchAt) {
      for (const std::uint8_t byte : EncodeRequest(kLetterSwitch, 0, 0)) {
        controller.Receive(byte, at);
      }
    }
    moments.push_back(Moment{at, controller.Status(), controller.Register(32) / 2000.0,
                             controller.PetrolTrim(), controller.Register(50),
                             controller.Register(49)});
  }
  return moments;
}

const Moment& At(const std::vector<Moment>& moments, Micros at) {
  return moments.at(static_cast<std::size_t>(at / kEvery));
}

TEST(SimGasNeed, TrimIsOneOnPetrolAndFollowsNeedOverDeliveredOnGasWithItsLag) {
  const GasFactors need{2.20, 1.30};
  const GasFactors factory = FactorsOf(FactoryRegisters());
  const std::vector<Moment> moments = Drive(need);

  // Three minutes on petrol: trim 1 throughout, petrol times from about 2.5 to 7 ms, RPM
  // from 1200 to 3200, the lambda probe swinging about its middle.
  double shortest = 100.0;
  double longest = 0.0;
  std::uint16_t slowest = 10000;
  std::uint16_t fastest = 0;
  for (const Moment& moment : moments) {
    if (moment.at >= kSwitchAt) {
      break;
    }
    EXPECT_EQ(moment.status, kStatusPetrol);
    EXPECT_EQ(moment.trim, 1.0);
    if (moment.at > 5 * kSecond) {
      shortest = std::min(shortest, moment.petrolMs);
      longest = std::max(longest, moment.petrolMs);
      slowest = std::min(slowest, moment.rpm);
      fastest = std::max(fastest, moment.rpm);
    }
  }
  EXPECT_LT(shortest, 2.6);
  EXPECT_GT(longest, 6.9);
  EXPECT_NEAR(slowest, 1200, 60);
  EXPECT_NEAR(fastest, 3200, 60);
  ASSERT_EQ(At(moments, kSwitchAt + 2 * kSecond).status, kStatusGas);

  // Settled at every point of the cycle on gas: need/delivered at the point's load, within
  // the bounds, so the probe keeps swinging.
  std::uint16_t leanest = 1000;
  std::uint16_t richest = 0;
  for (const Moment& moment : moments) {
    const double runningS = static_cast<double>(moment.at) / kSecond;
    if (moment.at < kSwitchAt + 10 * kSecond || std::fmod(runningS, 10.0) < 7.0) {
      continue;
    }
    const double baseMs = 2.5 + 4.0 * DriveCyclePointAt(runningS).load;
    const double expected = GasToPetrolRatio(need, baseMs) / GasToPetrolRatio(factory, baseMs);
    EXPECT_NEAR(moment.trim, expected, 0.006) << runningS;
    // The line ends where the cycle does, so the load's noise there moves the trim a little.
    EXPECT_NEAR(moment.petrolMs, baseMs * expected, 0.1) << runningS;
    leanest = std::min(leanest, moment.lambdaMv);
    richest = std::max(richest, moment.lambdaMv);
  }
  EXPECT_LT(leanest, 200);
  EXPECT_GT(richest, 800);

  // At 360 s the cycle goes from the longest petrol time back to the shortest: the trim
  // moves from 1.16 towards 1 with a lag, about half way after 2 s.
  const Micros step = 360 * kSecond;
  const double before = At(moments, step).trim;
  EXPECT_NEAR(before, 1.30 / 1.12, 0.01);
  const auto share = [&](Micros after) {
    return (before - At(moments, step + after).trim) / (before - 1.0);
  };
  EXPECT_LT(share(kSecond), 0.35);
  EXPECT_GT(share(2 * kSecond), 0.4);
  EXPECT_LT(share(2 * kSecond), 0.65);
  EXPECT_GT(share(6 * kSecond), 0.9);
}

struct BoundCase {
  std::string name;
  GasFactors need;
  double bound;          // the trim where it stops
  bool lean;             // the probe held lean (low), else rich (high)
  double longPointOnly;  // check only at loads of at least this (0: all)
};

class SimTrimBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(SimTrimBound, StopsAtItsBoundWithTheProbeHeldLeanOrRich) {
  const BoundCase& bound = GetParam();
  const std::vector<Moment> moments = Drive(bound.need);
  int checked = 0;
  for (const Moment& moment : moments) {
    const double runningS = static_cast<double>(moment.at) / kSecond;
    if (moment.at < kSwitchAt + 10 * kSecond || std::fmod(runningS, 10.0) < 7.0 ||
        DriveCyclePointAt(runningS).load < bound.longPointOnly) {
      continue;
    }
    ++checked;
    EXPECT_EQ(moment.trim, bound.bound) << runningS;
    if (bound.lean) {
      EXPECT_LT(moment.lambdaMv, 200) << runningS;
    } else {
      EXPECT_GT(moment.lambdaMv, 780) << runningS;
    }
  }
  EXPECT_GT(checked, 100);
  EXPECT_EQ(At(moments, kSwitchAt - kSecond).trim, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Needs, SimTrimBound,
    ::testing::Values(BoundCase{"FarTooRich", {1.20, 0.70}, 0.75, false, 0.0},
                      BoundCase{"FarTooLeanAtLongPetrolTimes", {2.40, 2.00}, 1.25, true, 0.9}),
    [](const ::testing::TestParamInfo<BoundCase>& instance) { return instance.param.name; });

}  // namespace
}  // namespace zav::sim
