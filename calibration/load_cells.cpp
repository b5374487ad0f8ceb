#include "calibration/load_cells.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace zav {

namespace {

using CellKey = std::pair<int, int>;  // RPM band, manifold band (indexes)

CellKey KeyOf(const SteadySample& sample) {
  return {static_cast<int>(std::floor(sample.rpm / kRpmBand)),
          static_cast<int>(std::floor(sample.manifoldMbar / kManifoldBand))};
}

struct CellSums {
  int petrolCount = 0;
  double petrolMs = 0.0;
  int gasCount = 0;
  double gasPetrolMs = 0.0;
  double gasMs = 0.0;
};

}  // namespace

std::vector<LoadCell> FillLoadCells(std::span<const SteadySample> onPetrol,
                                    std::span<const SteadySample> onGas) {
  std::map<CellKey, CellSums> sums;
  for (const SteadySample& sample : onPetrol) {
    CellSums& cell = sums[KeyOf(sample)];
    ++cell.petrolCount;
    cell.petrolMs += sample.petrolMs;
  }
  for (const SteadySample& sample : onGas) {
    CellSums& cell = sums[KeyOf(sample)];
    ++cell.gasCount;
    cell.gasPetrolMs += sample.petrolMs;
    cell.gasMs += sample.gasMs;
  }
  std::vector<LoadCell> cells;
  for (const auto& [key, cell] : sums) {
    if (cell.petrolCount == 0 || cell.gasCount == 0) {
      continue;
    }
    cells.push_back(LoadCell{key.first * kRpmBand, key.second * kManifoldBand, cell.petrolCount,
                             cell.gasCount, cell.petrolMs / cell.petrolCount,
                             cell.gasPetrolMs / cell.gasCount, cell.gasMs / cell.gasCount});
  }
  return cells;
}

int CoveredCount(std::span<const LoadCell> cells) {
  return static_cast<int>(std::count_if(cells.begin(), cells.end(),
                                        [](const LoadCell& cell) { return cell.Covered(); }));
}

}  // namespace zav
