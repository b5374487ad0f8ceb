#pragma once
// The calibration assistant: from a drive on petrol and a drive on gas across the same
// loads, how far the gas delivered is from what the engine takes, cell by cell, and the
// factors that close the gap. Nothing here assumes more about the controller than the
// window shows: the petrol unit keeps its closed loop on gas, so the petrol times it still
// computes there tell whether the gas was lean (longer) or rich (shorter).

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

inline constexpr std::uint8_t kXAxisRegister = 87;
inline constexpr std::uint8_t kYAxisRegister = 88;
inline constexpr std::uint8_t kNumeratorRegister = 89;

// The factors a set of parameters stands for, and its positions of the trackbars.
TrackbarPositions PositionsOf(const ParameterWords& parameters);
std::uint16_t ParameterAt(const ParameterWords& parameters, std::uint8_t address);

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
};

struct Calibration {
  SteadySelection petrol;  // counts only; the samples themselves are in the cells
  SteadySelection gas;
  std::vector<LoadCell> cells;  // with samples on both fuels; Covered() ones count
  int covered = 0;
  double shortestMs = 0.0;  // petrol times the factors' line spans, over the covered cells
  double longestMs = 0.0;
  ParameterWords inForce{};  // during the gas drive
  std::optional<Proposal> proposal;
  std::string reason;  // without a proposal: why, and what to drive
};

// `inForce`: the parameter registers in force while the gas drive was recorded; the
// proposal starts from their factors and keeps their "X axis".
Calibration Calibrate(std::span<const DecodedSample> petrolDrive,
                      std::span<const DecodedSample> gasDrive, const ParameterWords& inForce);

// The points the fit takes: each covered cell's needed ratio at its petrol time.
std::vector<FitPoint> FitPointsOf(std::span<const LoadCell> cells);

}  // namespace zav
