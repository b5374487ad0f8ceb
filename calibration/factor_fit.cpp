#include "calibration/factor_fit.h"

#include <cmath>
#include <cstdlib>

namespace zav {

namespace {

// Two errors closer than this count as equal: the grid's neighbours are far apart.
constexpr double kEqualError = 1e-12;

int Distance(TrackbarPositions a, TrackbarPositions b) {
  return std::abs(a.left - b.left) + std::abs(a.right - b.right);
}

}  // namespace

Factors FactorsAt(TrackbarPositions positions) {
  return Factors{LeftFactor(positions.left), RightFactor(positions.right)};
}

double WeightedRmsError(std::span<const FitPoint> points, double shortestMs, double longestMs,
                        Factors factors) {
  const FactorSegment line{shortestMs, longestMs, factors};
  double squares = 0.0;
  double weights = 0.0;
  for (const FitPoint& point : points) {
    const double error = (RatioAt(line, point.petrolMs) - point.ratio) / point.ratio;
    squares += point.weight * error * error;
    weights += point.weight;
  }
  return weights > 0.0 ? std::sqrt(squares / weights) : 0.0;
}

FactorFit FitFactors(std::span<const FitPoint> points, double shortestMs, double longestMs,
                     TrackbarPositions start) {
  FactorFit best{start, FactorsAt(start),
                 WeightedRmsError(points, shortestMs, longestMs, FactorsAt(start))};
  for (int left = 0; left <= kLeftTrackbarLast; ++left) {
    for (int right = 0; right <= kRightTrackbarLast; ++right) {
      const TrackbarPositions positions{left, right};
      const Factors factors = FactorsAt(positions);
      const double error = WeightedRmsError(points, shortestMs, longestMs, factors);
      const bool better = error < best.rmsError - kEqualError;
      const bool asGoodAndNearer = error <= best.rmsError + kEqualError &&
                                   Distance(positions, start) < Distance(best.positions, start);
      if (better || asGoodAndNearer) {
        best = FactorFit{positions, factors, error};
      }
    }
  }
  return best;
}

}  // namespace zav
