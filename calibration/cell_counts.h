#pragma once
// How many settled samples a drive has in each load cell, and the cells' names as the
// fitter reads them while driving: which loads are covered, which need a longer hold.

#include <span>
#include <string>
#include <vector>

#include "calibration/steady_samples.h"

namespace zav {

struct CellCount {
  int rpmFrom = 0;       // rpm, the band is [from, from + kRpmBand)
  int manifoldFrom = 0;  // mbar, likewise with kManifoldBand
  int samples = 0;       // settled samples in the cell
  friend bool operator==(const CellCount&, const CellCount&) = default;
};

// Every cell with settled samples on `fuel`, ordered by RPM band, then manifold band.
std::vector<CellCount> CellCountsOn(std::span<const DecodedSample> drive, Fuel fuel);

// Cells with kLeastCellSamples or more.
int CoveredIn(std::span<const CellCount> counts);

// Load cells with kLeastCellSamples settled samples on `fuel` in the drive.
int CellsCoveredOn(std::span<const DecodedSample> drive, Fuel fuel);

// "1500-2000 rpm at 600-700 mbar".
std::string CellName(const CellCount& cell);

// What still needs driving while a drive on one fuel is recorded: the cells with some
// settled samples but too few ("hold longer at ..."), the fullest first, and the cells
// `covered` elsewhere (the petrol drive) that `sofar` does not cover yet ("still to drive
// ..."); at most `most` of each. Empty when nothing is missing.
std::string MissingCellsText(std::span<const CellCount> sofar, std::span<const CellCount> covered,
                             std::size_t most);

}  // namespace zav
