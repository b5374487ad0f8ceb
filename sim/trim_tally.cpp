#include "sim/trim_tally.h"

#include <cmath>

namespace zav::sim {
namespace {

int BandOf(double value, double width) {
  return static_cast<int>(std::floor(value / width));
}

}  // namespace

void TallyTrim(TrimTally& tally, double rpm, double manifoldMbar, double trim) {
  const std::pair<int, int> key{BandOf(rpm, tally.grid.rpmBand),
                                BandOf(manifoldMbar, tally.grid.manifoldBandMbar)};
  TrimCell& cell = tally.cells[key];
  ++cell.steps;
  cell.trimSum += trim - 1.0;
}

double MeanAbsoluteTrimOverCells(const TrimTally& tally, std::size_t fewestSteps) {
  double sum = 0.0;
  std::size_t counted = 0;
  for (const auto& [key, cell] : tally.cells) {
    if (cell.steps >= fewestSteps && cell.steps > 0) {
      sum += std::abs(MeanTrim(cell));
      ++counted;
    }
  }
  return counted == 0 ? 0.0 : sum / static_cast<double>(counted);
}

double MeanTrim(const TrimCell& cell) {
  return cell.steps == 0 ? 0.0 : cell.trimSum / static_cast<double>(cell.steps);
}

}  // namespace zav::sim
