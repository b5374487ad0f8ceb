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
  int gasCount = 0;
  double referenceMs = 0.0;
  double gasPetrolMs = 0.0;
  double gasMs = 0.0;
};

}  // namespace

std::vector<LoadCell> FillLoadCells(std::span<const SteadySample> onPetrol,
                                    std::span<const SteadySample> onGas,
                                    std::span<const double> petrolMsAtLoad) {
  std::map<CellKey, CellSums> sums;
  for (const SteadySample& sample : onPetrol) {
    ++sums[KeyOf(sample)].petrolCount;
  }
  for (std::size_t i = 0; i < onGas.size(); ++i) {
    if (petrolMsAtLoad[i] <= 0.0) {
      continue;  // the petrol drive did not reach this load
    }
    CellSums& cell = sums[KeyOf(onGas[i])];
    ++cell.gasCount;
    cell.referenceMs += petrolMsAtLoad[i];
    cell.gasPetrolMs += onGas[i].petrolMs;
    cell.gasMs += onGas[i].gasMs;
  }
  std::vector<LoadCell> cells;
  for (const auto& [key, cell] : sums) {
    if (cell.gasCount == 0) {
      continue;
    }
    cells.push_back(LoadCell{key.first * kRpmBand, key.second * kManifoldBand, cell.petrolCount,
                             cell.gasCount, cell.referenceMs / cell.gasCount,
                             cell.gasPetrolMs / cell.gasCount, cell.gasMs / cell.gasCount});
  }
  return cells;
}

int CoveredCount(std::span<const LoadCell> cells) {
  return static_cast<int>(std::count_if(cells.begin(), cells.end(),
                                        [](const LoadCell& cell) { return cell.Covered(); }));
}

}  // namespace zav
