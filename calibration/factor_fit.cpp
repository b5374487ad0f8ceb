#include "calibration/factor_fit.h"

#include <cmath>
#include <cstdlib>

namespace zav {

namespace {

// Two errors closer than this count as equal: the grid's neighbours are far apart.
constexpr double kEqualError = 1e-12;
constexpr std::uint32_t kLargestRegister = 65535;

int Distance(TrackbarPositions a, TrackbarPositions b) {
  return std::abs(a.left - b.left) + std::abs(a.right - b.right);
}

bool Within(const FactorBounds& bounds, Factors factors) {
  return factors.left >= bounds.leftLow && factors.left <= bounds.leftHigh &&
         factors.right >= bounds.rightLow && factors.right <= bounds.rightHigh;
}

}  // namespace

double WeightedRmsError(std::span<const FitPoint> points, Factors factors) {
  double squares = 0.0;
  double weights = 0.0;
  for (const FitPoint& point : points) {
    const double error = (GasRatioAt(factors, point.petrolMs) - point.ratio) / point.ratio;
    squares += point.weight * error * error;
    weights += point.weight;
  }
  return weights > 0.0 ? std::sqrt(squares / weights) : 0.0;
}

std::optional<FactorFit> Placed(std::uint16_t xAxis, TrackbarPositions positions) {
  FactorFit placed;
  placed.positions = positions;
  placed.formula = ApplyFormulaTo(xAxis, positions);
  if (placed.formula.yAxis > kLargestRegister) {
    return std::nullopt;  // a negative "Y axis": "Wrong filling of parameters"
  }
  const std::uint16_t written = placed.formula.xAxisStandIn ? kXAxisStandIn : xAxis;
  placed.reopened = OpeningPositions(written, static_cast<std::uint16_t>(placed.formula.yAxis),
                                     static_cast<std::uint16_t>(placed.formula.numerator));
  placed.factors = FactorsAt(placed.reopened);
  return placed;
}

std::optional<FactorFit> FitFactors(std::span<const FitPoint> points, const FactorBounds& bounds,
                                    TrackbarPositions start, std::uint16_t xAxis) {
  std::optional<FactorFit> best;
  for (int left = 0; left <= kLeftTrackbarLast; ++left) {
    for (int right = 0; right <= kRightTrackbarLast; ++right) {
      std::optional<FactorFit> fit = Placed(xAxis, TrackbarPositions{left, right});
      if (!fit || !Within(bounds, fit->factors)) {
        continue;
      }
      fit->rmsError = WeightedRmsError(points, fit->factors);
      const bool better = !best || fit->rmsError < best->rmsError - kEqualError;
      const bool asGoodAndNearer =
          best && fit->rmsError <= best->rmsError + kEqualError &&
          Distance(fit->positions, start) < Distance(best->positions, start);
      if (better || asGoodAndNearer) {
        best = fit;
      }
    }
  }
  return best;
}

}  // namespace zav
