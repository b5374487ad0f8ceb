#pragma once
// The proposal: the trackbar positions whose factors' line, drawn as the petrol-against-gas
// view draws it, comes closest to the needed gas/petrol ratios, weighted by samples. Only
// the trackbars' own grid is searched (0.02 steps, within their ranges), so the fitter can
// set exactly what is proposed.

#include <optional>
#include <span>

#include "datalog/factor_line.h"
#include "params/parameter_formula.h"

namespace zav {

struct FitPoint {
  double petrolMs = 0.0;  // ms on petrol
  double ratio = 0.0;     // needed gas/petrol
  double weight = 0.0;    // samples
};

struct FactorFit {
  TrackbarPositions positions;  // where to place the trackbars
  // Where the registers written from them place the trackbars again, and their factors: the
  // dialog solves the positions back mostly in integer arithmetic, which can land one step
  // away. These are the factors in force after writing.
  TrackbarPositions reopened;
  Factors factors;
  FormulaResult formula;  // "Y axis" and "Numerator" the positions give
  double rmsError = 0.0;  // weighted root mean square of (line - needed) / needed
};

// The factors of two trackbar positions, as the Parameters dialog forms them.
Factors FactorsAt(TrackbarPositions positions);

// What placing the trackbars at `positions` with "X axis" `xAxis` writes, and where the
// dialog places them again from that. Nothing when "Y axis" would not be accepted by "Ok".
std::optional<FactorFit> Placed(std::uint16_t xAxis, TrackbarPositions positions);

// How far the line of `factors` over [shortestMs, longestMs] is from the points.
double WeightedRmsError(std::span<const FitPoint> points, double shortestMs, double longestMs,
                        Factors factors);

// The best positions on the grid that "Ok" accepts, judged by the factors in force after
// writing. Of equally good ones, the nearest to `start` (the positions in force), so a
// drive that says nothing new moves nothing.
FactorFit FitFactors(std::span<const FitPoint> points, double shortestMs, double longestMs,
                     TrackbarPositions start, std::uint16_t xAxis);

}  // namespace zav
