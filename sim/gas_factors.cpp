#include "sim/gas_factors.h"

#include <algorithm>

#include "link/wire.h"
#include "params/parameter_formula.h"

namespace zav::sim {

namespace {

constexpr std::uint8_t kXAxisRegister = 87;
constexpr std::uint8_t kYAxisRegister = 88;
constexpr std::uint8_t kNumeratorRegister = 89;

}  // namespace

GasFactors FactorsOf(const StoredRegisters& registers) {
  const TrackbarPositions positions =
      OpeningPositions(StoredAt(registers, kXAxisRegister), StoredAt(registers, kYAxisRegister),
                       StoredAt(registers, kNumeratorRegister));
  return GasFactors{LeftFactor(positions.left), RightFactor(positions.right)};
}

double GasToPetrolRatio(GasFactors factors, double petrolMs, PetrolSpan span) {
  const double along =
      std::clamp((petrolMs - span.shortestMs) / (span.longestMs - span.shortestMs), 0.0, 1.0);
  return factors.left + (factors.right - factors.left) * along;
}

}  // namespace zav::sim
