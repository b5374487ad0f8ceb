#pragma once
// Load cells: RPM bands by manifold-pressure bands (params/load_grid.h). Each settled gas
// sample is compared with the petrol drive at its own load (equal_load.h); a cell gathers
// the gas samples that fall in it, so its correction is the petrol unit's on gas at the
// loads really driven there, whatever pressure inside the cell each drive held.

#include <span>
#include <vector>

#include "calibration/steady_samples.h"
#include "params/load_grid.h"

namespace zav {

inline constexpr int kLeastCellSamples = 10;  // settled samples on each fuel for a cell to count

struct LoadCell {
  int rpmFrom = 0;           // rpm, the band is [from, from + kRpmBand)
  int manifoldFrom = 0;      // mbar, likewise with kManifoldBand
  int petrolSamples = 0;     // settled on petrol in this cell
  int gasSamples = 0;        // settled on gas in this cell, with the petrol drive at their load
  double petrolMs = 0.0;     // mean BA the petrol drive gave at those gas samples' loads
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
// `onGasAtLoad`: per gas sample, the petrol time the petrol drive gave at its load (0: none).
std::vector<LoadCell> FillLoadCells(std::span<const SteadySample> onPetrol,
                                    std::span<const SteadySample> onGas,
                                    std::span<const double> petrolMsAtLoad);

int CoveredCount(std::span<const LoadCell> cells);

}  // namespace zav
