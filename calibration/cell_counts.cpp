#include "calibration/cell_counts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "calibration/load_cells.h"

namespace zav {

namespace {

bool SameCell(const CellCount& a, const CellCount& b) {
  return a.rpmFrom == b.rpmFrom && a.manifoldFrom == b.manifoldFrom;
}

bool CoveredAmong(std::span<const CellCount> counts, const CellCount& cell) {
  return std::any_of(counts.begin(), counts.end(), [&cell](const CellCount& other) {
    return SameCell(other, cell) && other.samples >= kLeastCellSamples;
  });
}

std::string ListText(const std::vector<CellCount>& cells, std::size_t most, bool withSamples) {
  std::string text;
  for (std::size_t i = 0; i < cells.size() && i < most; ++i) {
    text += (i == 0 ? "" : "; ") + CellName(cells[i]);
    if (withSamples) {
      text += " (" + std::to_string(cells[i].samples) + " of " + std::to_string(kLeastCellSamples) +
              " settled samples)";
    }
  }
  if (cells.size() > most) {
    text += " and " + std::to_string(cells.size() - most) + " more";
  }
  return text;
}

}  // namespace

std::vector<CellCount> CellCountsOn(std::span<const DecodedSample> drive, Fuel fuel) {
  std::map<std::pair<int, int>, int> counts;
  for (const SteadySample& sample : SteadySamples(drive, fuel).samples) {
    ++counts[{static_cast<int>(std::floor(sample.rpm / kRpmBand)),
              static_cast<int>(std::floor(sample.manifoldMbar / kManifoldBand))}];
  }
  std::vector<CellCount> cells;
  for (const auto& [cell, count] : counts) {
    cells.push_back(CellCount{cell.first * kRpmBand, cell.second * kManifoldBand, count});
  }
  return cells;
}

int CoveredIn(std::span<const CellCount> counts) {
  return static_cast<int>(std::count_if(counts.begin(), counts.end(), [](const CellCount& cell) {
    return cell.samples >= kLeastCellSamples;
  }));
}

int CellsCoveredOn(std::span<const DecodedSample> drive, Fuel fuel) {
  return CoveredIn(CellCountsOn(drive, fuel));
}

std::string CellName(const CellCount& cell) {
  return std::to_string(cell.rpmFrom) + "-" + std::to_string(cell.rpmFrom + kRpmBand) + " rpm at " +
         std::to_string(cell.manifoldFrom) + "-" +
         std::to_string(cell.manifoldFrom + kManifoldBand) + " mbar";
}

std::string MissingCellsText(std::span<const CellCount> sofar, std::span<const CellCount> covered,
                             std::size_t most) {
  std::vector<CellCount> short_;
  for (const CellCount& cell : sofar) {
    if (cell.samples < kLeastCellSamples) {
      short_.push_back(cell);
    }
  }
  std::stable_sort(short_.begin(), short_.end(),
                   [](const CellCount& a, const CellCount& b) { return a.samples > b.samples; });
  std::vector<CellCount> toDrive;
  for (const CellCount& cell : covered) {
    if (cell.samples >= kLeastCellSamples && !CoveredAmong(sofar, cell) &&
        std::none_of(short_.begin(), short_.end(),
                     [&cell](const CellCount& other) { return SameCell(other, cell); })) {
      toDrive.push_back(cell);
    }
  }
  std::string text;
  if (!short_.empty()) {
    text = "Hold a few seconds longer at " + ListText(short_, most, true) + ".";
  }
  if (!toDrive.empty()) {
    text += std::string(text.empty() ? "" : " ") +
            "Still to drive, covered on petrol: " + ListText(toDrive, most, false) + ".";
  }
  return text;
}

}  // namespace zav
