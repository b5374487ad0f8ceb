#include "sim/engine_options.h"

#include "sim/stored_registers.h"

namespace zav::sim {

GasFactors GasNeedOf(const EngineOptions& options) {
  return options.gasNeed.value_or(FactorsOf(FactoryRegisters()));
}

}  // namespace zav::sim
