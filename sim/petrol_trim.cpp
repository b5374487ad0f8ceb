#include "sim/petrol_trim.h"

#include <algorithm>
#include <array>

namespace zav::sim {

namespace {

// The gas each cylinder needs beside the engine's need (fraction): no two cylinders breathe
// alike. Fixed per cylinder; they add up to nothing, so the engine as a whole needs its line.
constexpr std::array<double, 4> kNeedSpread = {0.02, -0.01, 0.01, -0.02};

// The one probe sees the four cylinders' exhaust together, so the unit trims on their mean.
double MeanNeedOverDelivered(GasFactors delivered, GasFactors need, double basePetrolMs) {
  const double needRatio = GasToPetrolRatio(need, basePetrolMs);
  double sum = 0.0;
  for (const double spread : kNeedSpread) {
    sum += needRatio * (1.0 + spread);
  }
  return sum / static_cast<double>(kNeedSpread.size()) / GasToPetrolRatio(delivered, basePetrolMs);
}

}  // namespace

// First order towards the cylinders' mean need/delivered (time constant kTrimLagS).
void StepPetrolTrim(PetrolTrim& trim, double stepS, double basePetrolMs, bool injectingGas,
                    GasFactors delivered, GasFactors need) {
  const double target = injectingGas ? MeanNeedOverDelivered(delivered, need, basePetrolMs) : 1.0;
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
