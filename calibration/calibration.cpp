#include "calibration/calibration.h"

#include <algorithm>
#include <limits>

#include "calibration/calibration_text.h"

namespace zav {

namespace {

bool InCell(const LoadCell& cell, const SteadySample& sample) {
  return sample.rpm >= cell.rpmFrom && sample.rpm < cell.rpmFrom + kRpmBand &&
         sample.manifoldMbar >= cell.manifoldFrom &&
         sample.manifoldMbar < cell.manifoldFrom + kManifoldBand;
}

// The shortest and longest petrol time on petrol among the samples of covered cells: the
// span over which the view draws the factors' line for this drive.
void FindSpan(Calibration& calibration, std::span<const SteadySample> onPetrol) {
  double shortest = std::numeric_limits<double>::max();
  double longest = 0.0;
  for (const SteadySample& sample : onPetrol) {
    const bool covered =
        std::any_of(calibration.cells.begin(), calibration.cells.end(),
                    [&](const LoadCell& cell) { return cell.Covered() && InCell(cell, sample); });
    if (covered) {
      shortest = std::min(shortest, sample.petrolMs);
      longest = std::max(longest, sample.petrolMs);
    }
  }
  if (longest > 0.0) {
    calibration.shortestMs = shortest;
    calibration.longestMs = longest;
  }
}

std::string ReasonWithout(const Calibration& calibration) {
  if (calibration.covered < kLeastCells) {
    const std::string found =
        calibration.cells.empty()
            ? "no load cell has settled samples on both fuels"
            : std::to_string(calibration.covered) + " of " +
                  std::to_string(calibration.cells.size()) + " cells driven on both fuels have " +
                  std::to_string(kLeastCellSamples) + " settled samples on each";
    return "too few load cells: " + found + ", " + std::to_string(kLeastCells) +
           " are needed. Drive longer on both fuels across the load range, holding each "
           "engine speed and throttle for a few seconds.";
  }
  if (calibration.longestMs - calibration.shortestMs < kLeastSpanMs) {
    return "the covered cells span only " + FixedText(calibration.shortestMs, 2) + " to " +
           FixedText(calibration.longestMs, 2) + " ms of petrol time; " +
           FixedText(kLeastSpanMs, 1) +
           " ms or more are needed to place both ends of the line. Drive across more of "
           "the load range, from light to heavy throttle.";
  }
  return {};
}

Proposal ProposeFrom(const Calibration& calibration) {
  const std::vector<FitPoint> points = FitPointsOf(calibration.cells);
  Proposal proposal;
  proposal.current = PositionsOf(calibration.inForce);
  proposal.currentFactors = FactorsAt(proposal.current);
  proposal.xAxis = ParameterAt(calibration.inForce, kXAxisRegister);
  proposal.currentYAxis = ParameterAt(calibration.inForce, kYAxisRegister);
  proposal.currentNumerator = ParameterAt(calibration.inForce, kNumeratorRegister);
  proposal.currentError = WeightedRmsError(points, calibration.shortestMs, calibration.longestMs,
                                           proposal.currentFactors);
  const FactorFit fit = FitFactors(points, calibration.shortestMs, calibration.longestMs,
                                   proposal.current, proposal.xAxis);
  proposal.proposed = fit.positions;
  proposal.reopened = fit.reopened;
  proposal.proposedFactors = fit.factors;
  proposal.proposedError = fit.rmsError;
  proposal.formula = fit.formula;
  return proposal;
}

}  // namespace

std::uint16_t ParameterAt(const ParameterWords& parameters, std::uint8_t address) {
  return parameters[static_cast<std::size_t>(address - kFirstImageRegister)];
}

TrackbarPositions PositionsOf(const ParameterWords& parameters) {
  return OpeningPositions(ParameterAt(parameters, kXAxisRegister),
                          ParameterAt(parameters, kYAxisRegister),
                          ParameterAt(parameters, kNumeratorRegister));
}

std::vector<FitPoint> FitPointsOf(std::span<const LoadCell> cells) {
  std::vector<FitPoint> points;
  for (const LoadCell& cell : cells) {
    if (cell.Covered()) {
      points.push_back(
          FitPoint{cell.petrolMs, cell.NeededRatio(), static_cast<double>(cell.Weight())});
    }
  }
  return points;
}

Calibration Calibrate(std::span<const DecodedSample> petrolDrive,
                      std::span<const DecodedSample> gasDrive, const ParameterWords& inForce) {
  Calibration calibration;
  calibration.inForce = inForce;
  calibration.petrol = SteadySamples(petrolDrive, Fuel::Petrol);
  calibration.gas = SteadySamples(gasDrive, Fuel::Gas);
  calibration.cells = FillLoadCells(calibration.petrol.samples, calibration.gas.samples);
  calibration.covered = CoveredCount(calibration.cells);
  FindSpan(calibration, calibration.petrol.samples);
  calibration.reason = ReasonWithout(calibration);
  if (calibration.reason.empty()) {
    calibration.proposal = ProposeFrom(calibration);
  }
  // The cells keep what the table shows; the settled samples themselves are not needed.
  calibration.petrol.samples.clear();
  calibration.gas.samples.clear();
  return calibration;
}

}  // namespace zav
