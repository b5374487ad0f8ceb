#pragma once
// The simulator's model of how the formula registers shape the gas injection times. The
// real controller's rule is not known here; this model follows the picture the Parameters
// dialog draws: the gas/petrol ratio runs in a straight line from the left factor at the
// shortest petrol time to the right factor at the longest. The factors are found from
// registers 87 to 89 ("X axis", "Y axis", "Numerator") by the same code that places the
// dialog's trackbars, so writing a parameter set with other factors moves the gas times.

#include "sim/stored_registers.h"

namespace zav::sim {

// The petrol times (ms) at which the ratio is the left and the right factor: the shortest
// and longest the engine model gives while idling. The petrol-against-gas view draws the
// line over the shortest and longest petrol time of a drive; the model keeps its line where
// the engine's own petrol times end, so that the two agree.
inline constexpr double kShortPetrolMs = 2.9;
inline constexpr double kLongPetrolMs = 5.7;

struct PetrolSpan {
  double shortestMs = kShortPetrolMs;
  double longestMs = kLongPetrolMs;
};

struct GasFactors {
  double left = 2.2;    // gas/petrol at kShortPetrolMs: the default registers' factor
  double right = 1.12;  // gas/petrol at kLongPetrolMs
};

GasFactors FactorsOf(const StoredRegisters& registers);

// The ratio for a petrol time (ms); outside the span it stays at the nearer factor.
double GasToPetrolRatio(GasFactors factors, double petrolMs, PetrolSpan span = {});

}  // namespace zav::sim
