#include "calibration/equal_load.h"

#include <algorithm>
#include <cmath>

#include "params/load_grid.h"

namespace zav {

namespace {

int RpmBandOf(double rpm) {
  return static_cast<int>(std::floor(rpm / kRpmBand));
}

struct Moments {
  double across = 0.0;   // sum of (mbar - mean) * (ms - mean)
  double squares = 0.0;  // sum of (mbar - mean)^2
};

Moments MomentsOf(std::span<const SteadySample> samples) {
  double meanMbar = 0.0;
  double meanMs = 0.0;
  for (const SteadySample& sample : samples) {
    meanMbar += sample.manifoldMbar;
    meanMs += sample.petrolMs;
  }
  meanMbar /= static_cast<double>(samples.size());
  meanMs /= static_cast<double>(samples.size());
  Moments moments;
  for (const SteadySample& sample : samples) {
    moments.across += (sample.manifoldMbar - meanMbar) * (sample.petrolMs - meanMs);
    moments.squares += (sample.manifoldMbar - meanMbar) * (sample.manifoldMbar - meanMbar);
  }
  return moments;
}

// The slope of petrol time on pressure (ms per mbar) within the RPM bands whose samples
// spread far enough, pooled: what a band too narrow for its own slope takes.
double PooledSlope(const std::map<int, std::vector<SteadySample>>& bands) {
  Moments pooled;
  for (const auto& [band, samples] : bands) {
    if (!samples.empty() &&
        samples.back().manifoldMbar - samples.front().manifoldMbar >= kLeastSlopeSpreadMbar) {
      const Moments moments = MomentsOf(samples);
      pooled.across += moments.across;
      pooled.squares += moments.squares;
    }
  }
  return pooled.squares > 0.0 ? pooled.across / pooled.squares : 0.0;
}

// Least squares of petrol time against pressure over `samples`, read at `manifoldMbar`.
// Samples too close in pressure for a slope of their own take `pooledSlope`: even 10 mbar
// apart the petrol times differ by about 1 %, which is the size of a correction.
std::optional<double> LineAt(std::span<const SteadySample> samples, double manifoldMbar,
                             double pooledSlope) {
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
    return meanMs + pooledSlope * (manifoldMbar - meanMbar);
  }
  // Within the petrol samples' pressures only (half a cell of room): beyond, the line would
  // be a guess.
  if (manifoldMbar < samples.front().manifoldMbar - kNearMbar ||
      manifoldMbar > samples.back().manifoldMbar + kNearMbar) {
    return std::nullopt;
  }
  const Moments moments = MomentsOf(samples);
  return meanMs + moments.across / moments.squares * (manifoldMbar - meanMbar);
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
  reference.pooledSlope = PooledSlope(reference.bands);
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
                manifoldMbar, reference.pooledSlope);
}

}  // namespace zav
