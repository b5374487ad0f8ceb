#include "sim/gas_factors.h"

#include "link/wire.h"
#include "params/gas_ratio_line.h"

namespace zav::sim {

GasFactors FactorsOf(const StoredRegisters& registers) {
  const Factors factors =
      FactorsFromRegisters(StoredAt(registers, kXAxisRegister), StoredAt(registers, kYAxisRegister),
                           StoredAt(registers, kNumeratorRegister));
  return GasFactors{factors.left, factors.right};
}

double GasToPetrolRatio(GasFactors factors, double petrolMs) {
  return GasRatioAt(Factors{factors.left, factors.right}, petrolMs);
}

}  // namespace zav::sim
