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

// Settled samples on gas, each with the petrol drive at its load, for a cell to count.
inline constexpr int kLeastCellSamples = 10;

struct LoadCell {
  int rpmFrom = 0;           // rpm, the band is [from, from + kRpmBand)
  int manifoldFrom = 0;      // mbar, likewise with kManifoldBand
  int petrolSamples = 0;     // settled on petrol in this cell
  int gasSamples = 0;        // settled on gas in this cell, with the petrol drive at their load
  double petrolMs = 0.0;     // mean BA the petrol drive gave at those gas samples' loads
  double gasPetrolMs = 0.0;  // mean BA on gas
  double gasMs = 0.0;        // mean GAS on gas

  // Each gas sample counted has its petrol reference at its own load (kLeastReferenceSamples
  // settled petrol samples around it in its RPM band), so the cell needs no petrol samples
  // of its own within its 100 mbar: a road drive seldom holds both fuels in the same cell.
  bool Covered() const { return gasSamples >= kLeastCellSamples; }
  // BA on gas against BA on petrol: how the petrol unit corrects the gas it gets.
  double Correction() const { return gasPetrolMs / petrolMs; }
  // GAS/BA on gas: the ratio the controller delivers.
  double DeliveredRatio() const { return gasMs / gasPetrolMs; }
  // The delivered ratio with the correction: the gas/petrol ratio the engine takes.
  double NeededRatio() const { return DeliveredRatio() * Correction(); }
  // The weight of the cell in the fit: its gas samples, no more than its petrol samples
  // when it has more than the least.
  int Weight() const {
    const int petrol = petrolSamples > kLeastCellSamples ? petrolSamples : kLeastCellSamples;
    return petrol < gasSamples ? petrol : gasSamples;
  }
};

// Every cell with settled gas samples the petrol drive reached the load of, ordered by RPM band,
// then manifold band. `onGasAtLoad`: per gas sample, the petrol time the petrol drive gave at its
// load (0: none).
std::vector<LoadCell> FillLoadCells(std::span<const SteadySample> onPetrol,
                                    std::span<const SteadySample> onGas,
                                    std::span<const double> petrolMsAtLoad);

int CoveredCount(std::span<const LoadCell> cells);

}  // namespace zav
