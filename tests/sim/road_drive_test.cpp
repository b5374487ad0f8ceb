// zavsim --drive road: RPM and load wander as a seed decides, with holds of a few seconds,
// idle stops and a manifold pressure that wobbles in a hold; the gas delivered and needed
// follow the one factors' line whatever the drive, so the petrol unit's trim settles at
// need/delivered at the load's own petrol time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "link/wire.h"
#include "params/gas_ratio_line.h"
#include "sim/engine_model.h"

namespace zav::sim {
namespace {

constexpr double kStepS = 0.02;

struct Trace {
  std::vector<double> rpm;
  std::vector<double> manifold;  // mbar, as measured
  std::vector<double> load;
  std::vector<double> trim;
};

Trace Drive(std::uint32_t seed, GasFactors need, bool onGas, double seconds,
            std::optional<double> topMbar = std::nullopt, double shiftMbar = 0.0) {
  EngineModel engine = StartEngine(StreamOf(seed, RandomStream::kEngine),
                                   EngineOptions{need, DriveMode::kRoad, topMbar, shiftMbar});
  Trace trace;
  for (double s = 0.0; s < seconds; s += kStepS) {
    StepEngine(engine, GasSupply{onGas, onGas}, GasFactors{});
    trace.rpm.push_back(engine.rpm);
    trace.manifold.push_back(LiveValue(engine, 45));
    trace.load.push_back(engine.cycleLoad);
    trace.trim.push_back(engine.trim.factor);
  }
  return trace;
}

TEST(RoadDriveTest, WandersAsTheSeedDecidesWithHoldsIdleStopsAndAWobble) {
  const Trace one = Drive(1, {}, false, 240.0);
  EXPECT_EQ(one.manifold, Drive(1, {}, false, 240.0).manifold);
  EXPECT_NE(one.manifold, Drive(2, {}, false, 240.0).manifold);
  const auto [lowest, highest] = std::minmax_element(one.manifold.begin(), one.manifold.end());
  EXPECT_LT(*lowest, 300.0);
  EXPECT_GT(*highest, 800.0);
  EXPECT_LT(*std::min_element(one.rpm.begin(), one.rpm.end()), 900.0);  // an idle stop
  EXPECT_GT(*std::max_element(one.rpm.begin(), one.rpm.end()), 3000.0);

  // Holds: stretches of 2 s and more where the pressure stays within +-25 mbar of where it
  // began, yet moves by 15 mbar or more inside them.
  int holds = 0;
  int wobbling = 0;
  const auto twoSeconds = static_cast<std::size_t>(2.0 / kStepS);
  for (std::size_t start = 0; start + twoSeconds < one.manifold.size(); start += twoSeconds) {
    const auto first = one.manifold.begin() + static_cast<std::ptrdiff_t>(start);
    const auto [low, high] =
        std::minmax_element(first, first + static_cast<std::ptrdiff_t>(twoSeconds));
    if (*high - *low <= 50.0) {
      ++holds;
      wobbling += *high - *low >= 15.0 ? 1 : 0;
    }
  }
  EXPECT_GT(holds, 20);
  EXPECT_GT(wobbling, holds / 3);
}

// A fitter told to stay below a pressure drives the same kind of road below it: no gaps,
// the holds and stops as before. A drive whose holds sit higher is the same road, each
// hold that much higher and the rest unchanged.
TEST(RoadDriveTest, ATopKeepsTheDriveBelowItAndAShiftRaisesEachHoldOnTheSameRoad) {
  for (const double top : {650.0, 550.0}) {
    const Trace below = Drive(2, {}, false, 240.0, top);
    constexpr double kSensorNoiseMbar = 15.0;  // the measured pressure's noise, at most
    EXPECT_LT(*std::max_element(below.manifold.begin(), below.manifold.end()),
              top + kSensorNoiseMbar);
    EXPECT_GT(*std::max_element(below.manifold.begin(), below.manifold.end()), top - 60.0);
    EXPECT_LT(*std::min_element(below.manifold.begin(), below.manifold.end()), 300.0);
  }
  const Trace road = Drive(2, {}, false, 240.0);
  const Trace higher = Drive(2, {}, false, 240.0, std::nullopt, 30.0);
  ASSERT_EQ(road.rpm.size(), higher.rpm.size());
  EXPECT_EQ(road.rpm, higher.rpm) << "the same road";
  int raised = 0;
  int unchanged = 0;
  for (std::size_t i = 0; i < road.load.size(); ++i) {
    const double mbar = (higher.load[i] - road.load[i]) * 550.0;
    raised += std::abs(mbar - 30.0) < 1.0 ? 1 : 0;
    unchanged += std::abs(mbar) < 1.0 ? 1 : 0;
  }
  EXPECT_GT(raised, static_cast<int>(road.load.size()) / 3) << "the holds";
  EXPECT_GT(unchanged, 0) << "idle stops";
}

TEST(RoadDriveTest, TheTrimSettlesAtNeedOverDeliveredOnTheOneLine) {
  const GasFactors need{2.40, 1.20};
  const Trace trace = Drive(3, need, true, 240.0);
  int settled = 0;
  const auto sixSeconds = static_cast<std::size_t>(6.0 / kStepS);
  for (std::size_t i = sixSeconds; i < trace.load.size(); ++i) {
    const auto first = trace.load.begin() + static_cast<std::ptrdiff_t>(i - sixSeconds);
    const auto [low, high] =
        std::minmax_element(first, trace.load.begin() + static_cast<std::ptrdiff_t>(i));
    if (*high - *low > 0.06) {
      continue;  // the load moved within the last 6 s: the trim still follows
    }
    const double baseMs = 2.5 + 4.0 * trace.load[i];
    const double expected = std::clamp(
        GasRatioAt({need.left, need.right}, baseMs) / GasRatioAt({2.2, 1.12}, baseMs), 0.75, 1.25);
    EXPECT_NEAR(trace.trim[i], expected, 0.02) << i;
    ++settled;
  }
  EXPECT_GT(settled, 500);
}

}  // namespace
}  // namespace zav::sim
