#pragma once
// The vehicle's petrol control unit, as the simulator models it, while the engine runs on
// gas: it keeps its closed loop on the lambda probe and so multiplies its petrol times by a
// trim that makes up for gas delivered too lean or too rich. In the model the controller
// places the gas/petrol ratio on the factors' line by the petrol time the engine takes at
// that load on petrol (the untrimmed time), so the trim scales the gas time in proportion
// and settles at need/delivered: there the gas delivered is the gas the engine needs. It
// follows with a lag of about 2 s and stops at +-25 %; beyond that the mixture stays lean
// or rich. On petrol the unit is in its own calibrated loop and the trim returns to 1.
// Each cylinder needs a few per cent more or less gas than the engine's line (fixed per
// cylinder); the one lambda probe sees them together, so the trim follows their mean.

#include "sim/gas_factors.h"

namespace zav::sim {

inline constexpr double kTrimLagS = 2.0;
inline constexpr double kTrimBound = 0.25;  // the trim stays within 1 -+ this

enum class Mixture { kRight, kLean, kRich };

struct PetrolTrim {
  double factor = 1.0;  // petrol times are the engine's own times this many times over
  Mixture mixture = Mixture::kRight;
};

// Moves the trim on by `stepS` seconds. `basePetrolMs`: the petrol time the engine takes at
// its present load on petrol; `injectingGas`: the gas injectors are driven; `delivered`: the
// factors the controller injects by; `need`: the factors the engine would need.
void StepPetrolTrim(PetrolTrim& trim, double stepS, double basePetrolMs, bool injectingGas,
                    GasFactors delivered, GasFactors need);

}  // namespace zav::sim
