#include "sim/drive_cycle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace zav::sim {
namespace {

constexpr std::array<double, 3> kRpmLevels = {1200.0, 2200.0, 3200.0};
constexpr std::size_t kLoadLevels = 6;
constexpr std::size_t kPoints = kRpmLevels.size() * kLoadLevels;
constexpr double kPointS = kDriveCyclePeriodS / static_cast<double>(kPoints);  // 10 s each

}  // namespace

// The loads climb at one RPM and come down at the next, so that a step to the next point
// changes either the RPM or the load, never both.
DrivePoint DriveCyclePointAt(double runningS) {
  const double intoCycleS = std::fmod(std::max(runningS, 0.0), kDriveCyclePeriodS);
  const auto point = static_cast<std::size_t>(intoCycleS / kPointS) % kPoints;
  const std::size_t rpmLevel = point / kLoadLevels;
  const std::size_t step = point % kLoadLevels;
  const std::size_t loadLevel = rpmLevel % 2 == 0 ? step : kLoadLevels - 1 - step;
  const double load =
      kDriveCycleTopLoad * static_cast<double>(loadLevel) / static_cast<double>(kLoadLevels - 1);
  return DrivePoint{kRpmLevels[rpmLevel], load};
}

}  // namespace zav::sim
