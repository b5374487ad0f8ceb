#include "datalog/factor_line.h"

#include <algorithm>

#include "params/parameter_formula.h"

namespace zav {

Factors FactorsFromRegisters(std::uint16_t xAxis, std::uint16_t yAxis, std::uint16_t numerator) {
  const TrackbarPositions positions = OpeningPositions(xAxis, yAxis, numerator);
  return Factors{LeftFactor(positions.left), RightFactor(positions.right)};
}

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

std::optional<FactorSegment> FactorSegmentFor(std::span<const ScatterPoint> points,
                                              Factors factors) {
  if (points.empty()) {
    return std::nullopt;
  }
  const auto [shortest, longest] = std::minmax_element(
      points.begin(), points.end(),
      [](const ScatterPoint& a, const ScatterPoint& b) { return a.petrolMs < b.petrolMs; });
  return FactorSegment{shortest->petrolMs, longest->petrolMs, factors};
}

double RatioAt(const FactorSegment& segment, double petrolMs) {
  const double length = segment.longestMs - segment.shortestMs;
  if (length <= 0.0) {
    return segment.factors.left;
  }
  const double along = (petrolMs - segment.shortestMs) / length;
  return segment.factors.left + (segment.factors.right - segment.factors.left) * along;
}

}  // namespace zav
