#include "calibration/equal_load.h"

#include <algorithm>
#include <cmath>

#include "params/load_grid.h"

namespace zav {

namespace {

int RpmBandOf(double rpm) {
  return static_cast<int>(std::floor(rpm / kRpmBand));
}

// Least squares of petrol time against pressure over `samples`, read at `manifoldMbar`.
std::optional<double> LineAt(std::span<const SteadySample> samples, double manifoldMbar) {
  double meanMbar = 0.0;
  double meanMs = 0.0;
  for (const SteadySample& sample : samples) {
    meanMbar += sample.manifoldMbar;
    meanMs += sample.petrolMs;
  }
  const auto count = static_cast<double>(samples.size());
  meanMbar /= count;
  meanMs /= count;
  const double spread = samples.back().manifoldMbar - samples.front().manifoldMbar;
  if (spread < kLeastSlopeSpreadMbar) {
    if (std::abs(manifoldMbar - meanMbar) > kNearMbar) {
      return std::nullopt;
    }
    return meanMs;
  }
  double across = 0.0;
  double squares = 0.0;
  for (const SteadySample& sample : samples) {
    across += (sample.manifoldMbar - meanMbar) * (sample.petrolMs - meanMs);
    squares += (sample.manifoldMbar - meanMbar) * (sample.manifoldMbar - meanMbar);
  }
  // Within the petrol samples' pressures only (half a cell of room): beyond, the line would
  // be a guess.
  if (manifoldMbar < samples.front().manifoldMbar - kNearMbar ||
      manifoldMbar > samples.back().manifoldMbar + kNearMbar) {
    return std::nullopt;
  }
  return meanMs + across / squares * (manifoldMbar - meanMbar);
}

}  // namespace

PetrolReference ReferenceOf(std::span<const SteadySample> onPetrol) {
  PetrolReference reference;
  for (const SteadySample& sample : onPetrol) {
    reference.bands[RpmBandOf(sample.rpm)].push_back(sample);
  }
  for (auto& [band, samples] : reference.bands) {
    std::sort(samples.begin(), samples.end(), [](const SteadySample& a, const SteadySample& b) {
      return a.manifoldMbar < b.manifoldMbar;
    });
  }
  return reference;
}

std::optional<double> PetrolMsAtLoad(const PetrolReference& reference, double rpm,
                                     double manifoldMbar) {
  const auto band = reference.bands.find(RpmBandOf(rpm));
  if (band == reference.bands.end()) {
    return std::nullopt;
  }
  const std::vector<SteadySample>& samples = band->second;
  const auto byPressure = [](const SteadySample& sample, double mbar) {
    return sample.manifoldMbar < mbar;
  };
  const auto first =
      std::lower_bound(samples.begin(), samples.end(), manifoldMbar - kNeighbourMbar, byPressure);
  const auto last =
      std::lower_bound(first, samples.end(), manifoldMbar + kNeighbourMbar, byPressure);
  if (last - first < kLeastReferenceSamples) {
    return std::nullopt;
  }
  return LineAt(std::span<const SteadySample>(&*first, static_cast<std::size_t>(last - first)),
                manifoldMbar);
}

}  // namespace zav
