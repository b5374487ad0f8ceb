#pragma once
// What the petrol unit's trim was while the engine ran on gas, summed per load cell (an RPM
// band by a manifold-pressure band), so that a test can tell how far the gas delivered was
// from the engine's need over the cells a drive covered. The trim is counted once per model
// step on gas, at the engine's own RPM and manifold pressure (without the sensors' noise).

#include <cstddef>
#include <map>
#include <utility>

#include "params/load_grid.h"

namespace zav::sim {

struct TrimGrid {
  double rpmBand = kRpmBand;                // rpm
  double manifoldBandMbar = kManifoldBand;  // mbar
};

struct TrimCell {
  std::size_t steps = 0;
  double trimSum = 0.0;  // sum of (trim - 1)
};

struct TrimTally {
  TrimGrid grid;
  // Keyed by (RPM band, manifold band): band n holds [n * width, (n + 1) * width).
  std::map<std::pair<int, int>, TrimCell> cells;
};

void TallyTrim(TrimTally& tally, double rpm, double manifoldMbar, double trim);

// The mean over the cells with at least `fewestSteps` steps of each cell's |mean trim - 1|,
// every cell weighing the same; 0 when no cell has that many.
double MeanAbsoluteTrimOverCells(const TrimTally& tally, std::size_t fewestSteps);

// The mean of (trim - 1) in one cell; 0 for a cell never visited.
double MeanTrim(const TrimCell& cell);

}  // namespace zav::sim
