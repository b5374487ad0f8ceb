#include "sim/petrol_trim.h"

#include <algorithm>

namespace zav::sim {

// First order towards need/delivered (time constant kTrimLagS). When need and delivered are
// the same factors the target is exactly 1, so the trim never drifts from it.
void StepPetrolTrim(PetrolTrim& trim, double stepS, double basePetrolMs, bool injectingGas,
                    GasFactors delivered, GasFactors need) {
  const double target = injectingGas ? GasToPetrolRatio(need, basePetrolMs) /
                                           GasToPetrolRatio(delivered, basePetrolMs)
                                     : 1.0;
  const double moved = trim.factor + (target - trim.factor) * stepS / kTrimLagS;
  trim.factor = std::clamp(moved, 1.0 - kTrimBound, 1.0 + kTrimBound);
  trim.mixture = Mixture::kRight;
  if (moved > 1.0 + kTrimBound) {
    trim.mixture = Mixture::kLean;  // the unit would lengthen its times further than it may
  } else if (moved < 1.0 - kTrimBound) {
    trim.mixture = Mixture::kRich;
  }
}

}  // namespace zav::sim
