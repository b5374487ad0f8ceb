#pragma once
// The calibration assistant: from a drive on petrol and a drive on gas, how far the gas
// delivered is from what the engine takes, load by load, and the factors that close the gap.
// Nothing here assumes more about the controller than the window shows and the program's
// model of its line (params/gas_ratio_line.h): the petrol unit keeps its closed loop on gas,
// so the petrol times it still computes there, against those it gave on petrol at the same
// load, tell whether the gas was lean (longer) or rich (shorter).

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calibration/factor_fit.h"
#include "calibration/load_cells.h"
#include "params/parameter_set.h"

namespace zav {

inline constexpr int kLeastCells = 4;        // covered cells for a proposal
inline constexpr double kLeastSpanMs = 1.0;  // petrol time between the shortest and longest
// Every covered correction within this (fraction), or the weighted rms mismatch of the line
// in force within it with no trackbar to move more than one step: the car is calibrated.
inline constexpr double kCalibratedCorrection = 0.01;
// An end of the line counts as reached when covered cells come this near it (ms).
inline constexpr double kReachMs = 1.0;
// The gas times must follow the factors in force within this (fraction) ...
inline constexpr double kDeliveredTolerance = 0.04;
// ... on all but this share of the settled gas samples.
inline constexpr double kMostOffLine = 0.2;

struct Proposal {
  TrackbarPositions current;
  TrackbarPositions proposed;  // where "Apply to Parameters…" places the trackbars
  TrackbarPositions reopened;  // where the written registers place them again
  Factors currentFactors;
  Factors proposedFactors;  // in force once written: those of `reopened`
  std::uint16_t xAxis = 0;  // register 87 in force, which the formula takes
  std::uint16_t currentYAxis = 0;
  std::uint16_t currentNumerator = 0;
  FormulaResult formula;       // "Y axis" and "Numerator" of the proposed positions
  double currentError = 0.0;   // weighted rms mismatch of today's line (fraction)
  double proposedError = 0.0;  // and of the proposed line
  bool Changes() const { return proposed != current; }
};

// Which ends of the factors' line the covered cells reached.
struct LineReach {
  bool left = false;
  bool right = false;
};

struct Calibration {
  SteadySelection petrol;  // counts only; the samples themselves are in the cells
  SteadySelection gas;
  std::vector<LoadCell> cells;  // with gas samples compared at their load; Covered() ones count
  int covered = 0;
  double shortestMs = 0.0;  // petrol times of the covered cells
  double longestMs = 0.0;
  double largestCorrection = 0.0;  // |correction - 1| of the covered cells, the largest
  LineReach reach;
  ParameterWords inForce{};  // during the gas drive
  // Every covered correction within kCalibratedCorrection, or the line in force within it
  // on the whole and the fit no more than a step away: the proposal keeps the factors.
  bool calibrated = false;
  std::optional<Proposal> proposal;
  std::string reason;     // without a proposal: why, and what to drive
  std::string unreached;  // with one: the ends of the line not reached, and what to drive
};

// `inForce`: the parameter registers in force while the gas drive was recorded; the
// proposal starts from their factors and keeps their "X axis".
Calibration Calibrate(std::span<const DecodedSample> petrolDrive,
                      std::span<const DecodedSample> gasDrive, const ParameterWords& inForce);

// The points the fit takes: each covered cell's needed ratio at its petrol time, the line
// of `inForce` moved by the cell's correction.
std::vector<FitPoint> FitPointsOf(std::span<const LoadCell> cells, Factors inForce);

}  // namespace zav
