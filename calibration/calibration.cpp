#include "calibration/calibration.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calibration/calibration_text.h"
#include "calibration/equal_load.h"
#include "calibration/proposal.h"

namespace zav {

namespace {

// Per settled gas sample, the petrol time the petrol drive gave at its load; 0: none.
std::vector<double> PetrolMsAtLoads(std::span<const SteadySample> onPetrol,
                                    std::span<const SteadySample> onGas) {
  const PetrolReference reference = ReferenceOf(onPetrol);
  std::vector<double> atLoad;
  atLoad.reserve(onGas.size());
  for (const SteadySample& sample : onGas) {
    atLoad.push_back(PetrolMsAtLoad(reference, sample.rpm, sample.manifoldMbar).value_or(0.0));
  }
  return atLoad;
}

void FindSpan(Calibration& calibration) {
  double shortest = std::numeric_limits<double>::max();
  double longest = 0.0;
  for (const LoadCell& cell : calibration.cells) {
    if (cell.Covered()) {
      shortest = std::min(shortest, cell.petrolMs);
      longest = std::max(longest, cell.petrolMs);
      calibration.largestCorrection =
          std::max(calibration.largestCorrection, std::abs(cell.Correction() - 1.0));
    }
  }
  if (longest > 0.0) {
    calibration.shortestMs = shortest;
    calibration.longestMs = longest;
    calibration.reach.left = shortest <= kLeftFactorPetrolMs + kReachMs;
    calibration.reach.right = longest >= kRightFactorPetrolMs - kReachMs;
  }
}

// The gas times of a drive on these factors follow their line (the controller delivers
// GAS/BA by it at the load's petrol time). When many do not, the samples were driven on
// other factors: a write during the recording, or a set that was not in force.
std::string OffLineReason(std::span<const SteadySample> onGas, std::span<const double> atLoad,
                          const ParameterWords& inForce) {
  const Factors factors = FactorsOf(inForce);
  int counted = 0;
  int off = 0;
  for (std::size_t i = 0; i < onGas.size(); ++i) {
    if (atLoad[i] <= 0.0) {
      continue;
    }
    const double delivered = onGas[i].gasMs / onGas[i].petrolMs;
    ++counted;
    if (std::abs(delivered / GasRatioAt(factors, atLoad[i]) - 1.0) > kDeliveredTolerance) {
      ++off;
    }
  }
  if (counted < kLeastCellSamples || off <= kMostOffLine * counted) {
    return {};
  }
  return "the gas times do not follow the factors in force (" + FixedText(factors.left, 2) +
         " and " + FixedText(factors.right, 2) + "): " + std::to_string(off) + " of " +
         std::to_string(counted) + " settled samples on gas deliver a ratio more than " +
         FixedText(kDeliveredTolerance * 100.0, 0) +
         " % off their line. The parameters were written during the recording, or the set "
         "taken as in force is not the one the controller had. Record the gas drive again "
         "on one set, or give the set that was in force.";
}

std::string ReasonWithout(const Calibration& calibration) {
  if (calibration.covered < kLeastCells) {
    const std::string found =
        calibration.cells.empty()
            ? "no load cell has settled samples on both fuels"
            : std::to_string(calibration.covered) + " of " +
                  std::to_string(calibration.cells.size()) + " cells driven on both fuels have " +
                  std::to_string(kLeastCellSamples) +
                  " settled samples on gas, each with the petrol drive at its load";
    return "too few load cells: " + found + ", " + std::to_string(kLeastCells) +
           " are needed. Drive longer on both fuels across the load range, holding each "
           "engine speed and throttle for a few seconds.";
  }
  if (!calibration.calibrated && calibration.longestMs - calibration.shortestMs < kLeastSpanMs) {
    return "the covered cells span only " + FixedText(calibration.shortestMs, 2) + " to " +
           FixedText(calibration.longestMs, 2) + " ms of petrol time; " +
           FixedText(kLeastSpanMs, 1) +
           " ms or more are needed to place both ends of the line. Drive across more of "
           "the load range, from light to heavy throttle.";
  }
  return {};
}

}  // namespace

std::vector<FitPoint> FitPointsOf(std::span<const LoadCell> cells, Factors inForce) {
  std::vector<FitPoint> points;
  for (const LoadCell& cell : cells) {
    if (cell.Covered()) {
      points.push_back(FitPoint{cell.petrolMs,
                                GasRatioAt(inForce, cell.petrolMs) * cell.Correction(),
                                static_cast<double>(cell.Weight())});
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
  const std::vector<double> atLoad =
      PetrolMsAtLoads(calibration.petrol.samples, calibration.gas.samples);
  calibration.cells = FillLoadCells(calibration.petrol.samples, calibration.gas.samples, atLoad);
  calibration.covered = CoveredCount(calibration.cells);
  FindSpan(calibration);
  calibration.calibrated =
      calibration.covered >= kLeastCells && calibration.largestCorrection <= kCalibratedCorrection;
  calibration.reason = OffLineReason(calibration.gas.samples, atLoad, inForce);
  if (calibration.reason.empty()) {
    calibration.reason = ReasonWithout(calibration);
  }
  if (calibration.reason.empty()) {
    ProposeFor(calibration);
  }
  // The cells keep what the table shows; the settled samples themselves are not needed.
  calibration.petrol.samples.clear();
  calibration.gas.samples.clear();
  return calibration;
}

}  // namespace zav
