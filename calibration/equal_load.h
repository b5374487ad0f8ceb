#pragma once
// The petrol drive at the load of a gas sample. No fitter repeats a load exactly, and the
// petrol time rises steeply with manifold pressure (about 0.7 ms per 100 mbar), so a gas
// sample is compared with what the petrol drive gave at its own RPM band and manifold
// pressure: a straight line of petrol time against pressure fitted over the settled petrol
// samples of that band within kNeighbourMbar either side. Without petrol samples spread
// around the pressure there is no comparison, rather than a wrong one.

#include <map>
#include <optional>
#include <span>
#include <vector>

#include "calibration/steady_samples.h"

namespace zav {

inline constexpr double kNeighbourMbar = 150.0;    // mbar either side: the cell and its neighbours
inline constexpr int kLeastReferenceSamples = 10;  // settled petrol samples for a line
// The petrol samples' pressures must spread this far for a slope (mbar) ...
inline constexpr double kLeastSlopeSpreadMbar = 40.0;
// ... else the gas sample must lie this close to their mean (mbar) to take their mean time,
// moved by the slope the wider bands share.
inline constexpr double kNearMbar = 20.0;

// The settled petrol samples by RPM band, each band sorted by manifold pressure.
struct PetrolReference {
  std::map<int, std::vector<SteadySample>> bands;
  double pooledSlope = 0.0;  // ms per mbar, within the bands wide enough for one; 0: none
};

PetrolReference ReferenceOf(std::span<const SteadySample> onPetrol);

// The petrol time (ms) the petrol drive gave at `rpm` and `manifoldMbar`, when its samples
// around that load support one.
std::optional<double> PetrolMsAtLoad(const PetrolReference& reference, double rpm,
                                     double manifoldMbar);

}  // namespace zav
