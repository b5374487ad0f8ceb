#pragma once
// The proposal: the trackbar positions whose factors' line (params/gas_ratio_line.h) comes
// closest to the ratios the engine needs, weighted by samples, within the bounds the
// measured corrections allow. Only the trackbars' own grid is searched (0.02 steps, within
// their ranges), and only positions whose "Y axis" the Parameters dialog's "Ok" accepts, so
// the fitter can write exactly what is proposed.

#include <optional>
#include <span>

#include "params/set_factors.h"

namespace zav {

struct FitPoint {
  double petrolMs = 0.0;  // ms on petrol at the load
  double ratio = 0.0;     // needed gas/petrol: the line in force moved by the correction
  double weight = 0.0;    // samples
};

// How far each factor may go (gas/petrol ratios, inclusive).
struct FactorBounds {
  double leftLow = 0.0;
  double leftHigh = 10.0;
  double rightLow = 0.0;
  double rightHigh = 10.0;
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

// What placing the trackbars at `positions` with "X axis" `xAxis` writes, and where the
// dialog places them again from that. Nothing when "Y axis" would not be accepted by "Ok".
std::optional<FactorFit> Placed(std::uint16_t xAxis, TrackbarPositions positions);

// How far the line of `factors` is from the points.
double WeightedRmsError(std::span<const FitPoint> points, Factors factors);

// The best writable positions on the grid whose factors (after writing) lie within `bounds`.
// Of equally good ones, the nearest to `start` (the positions in force), so a drive that
// says nothing new moves nothing. Nothing when no position is both writable and in bounds.
std::optional<FactorFit> FitFactors(std::span<const FitPoint> points, const FactorBounds& bounds,
                                    TrackbarPositions start, std::uint16_t xAxis);

}  // namespace zav
