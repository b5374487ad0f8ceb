#include "datalog/factor_line.h"

#include <algorithm>

namespace zav {

std::vector<ScatterPoint> ScatterPoints(const std::deque<DecodedSample>& samples,
                                        SampleRange range) {
  std::vector<ScatterPoint> points;
  if (range.Empty()) {
    return points;
  }
  const double recentFrom = samples[range.last - 1].seconds - kRecentSeconds;
  points.reserve((range.last - range.first) * 4);
  for (std::size_t i = range.first; i < range.last; ++i) {
    const DecodedSample& sample = samples[i];
    for (int cylinder = 0; cylinder < 4; ++cylinder) {
      const float petrol = sample.shown[static_cast<std::size_t>(kFirstPetrolColumn + cylinder)];
      const float gas = sample.shown[static_cast<std::size_t>(kFirstGasColumn + cylinder)];
      if (petrol > 0.0f && gas > 0.0f) {
        points.push_back(ScatterPoint{petrol, gas, cylinder, sample.seconds >= recentFrom});
      }
    }
  }
  return points;
}

std::vector<LinePoint> FactorLinePoints(Factors factors, double fromMs, double toMs) {
  std::vector<LinePoint> points{{fromMs, GasRatioAt(factors, fromMs)}};
  for (const double corner : {kLeftFactorPetrolMs, kRightFactorPetrolMs}) {
    if (corner > fromMs && corner < toMs) {
      points.push_back({corner, GasRatioAt(factors, corner)});
    }
  }
  if (toMs > fromMs) {
    points.push_back({toMs, GasRatioAt(factors, toMs)});
  }
  return points;
}

}  // namespace zav
