#pragma once
// How the simulated controller turns the formula registers into gas times: by the program's
// one model of the controller's line (params/gas_ratio_line.h), whatever the engine does.
// The factors are found from registers 87 to 89 ("X axis", "Y axis", "Numerator") by the
// same code that places the Parameters dialog's trackbars, so writing a parameter set with
// other factors moves the gas times.

#include "sim/stored_registers.h"

namespace zav::sim {

struct GasFactors {
  double left = 2.2;    // gas/petrol at the line's left end: the default registers' factor
  double right = 1.12;  // gas/petrol at its right end
};

GasFactors FactorsOf(const StoredRegisters& registers);

// The ratio for a petrol time (ms) on the line of `factors`.
double GasToPetrolRatio(GasFactors factors, double petrolMs);

}  // namespace zav::sim
