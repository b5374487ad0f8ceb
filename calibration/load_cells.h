#pragma once
// Load cells: RPM bands by manifold-pressure bands, sized so that a few minutes of driving
// across the load range fill them. Per cell, the settled petrol times on petrol and on gas
// at the same load give the correction the petrol unit makes on gas, and with it the
// gas/petrol ratio the engine needs there.

#include <span>
#include <vector>

#include "calibration/steady_samples.h"

namespace zav {

inline constexpr int kRpmBand = 500;          // rpm per cell
inline constexpr int kManifoldBand = 100;     // mbar per cell
inline constexpr int kLeastCellSamples = 10;  // settled samples on each fuel for a cell to count

struct LoadCell {
  int rpmFrom = 0;       // rpm, the band is [from, from + kRpmBand)
  int manifoldFrom = 0;  // mbar, likewise with kManifoldBand
  int petrolSamples = 0;
  int gasSamples = 0;
  double petrolMs = 0.0;     // mean BA on petrol
  double gasPetrolMs = 0.0;  // mean BA on gas
  double gasMs = 0.0;        // mean GAS on gas

  bool Covered() const {
    return petrolSamples >= kLeastCellSamples && gasSamples >= kLeastCellSamples;
  }
  // BA on gas against BA on petrol: how the petrol unit corrects the gas it gets.
  double Correction() const { return gasPetrolMs / petrolMs; }
  // GAS/BA on gas: the ratio the controller delivers.
  double DeliveredRatio() const { return gasMs / gasPetrolMs; }
  // The delivered ratio with the correction: the gas/petrol ratio the engine takes.
  double NeededRatio() const { return DeliveredRatio() * Correction(); }
  // The weight of the cell in the fit: the scarcer of its two fuels' samples.
  int Weight() const { return petrolSamples < gasSamples ? petrolSamples : gasSamples; }
};

// Every cell with settled samples on both fuels, ordered by RPM band, then manifold band.
std::vector<LoadCell> FillLoadCells(std::span<const SteadySample> onPetrol,
                                    std::span<const SteadySample> onGas);

int CoveredCount(std::span<const LoadCell> cells);

}  // namespace zav
