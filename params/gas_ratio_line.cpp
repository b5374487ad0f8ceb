#include "params/gas_ratio_line.h"

#include <algorithm>

namespace zav {

Factors FactorsAt(TrackbarPositions positions) {
  return Factors{LeftFactor(positions.left), RightFactor(positions.right)};
}

Factors FactorsFromRegisters(std::uint16_t xAxis, std::uint16_t yAxis, std::uint16_t numerator) {
  return FactorsAt(OpeningPositions(xAxis, yAxis, numerator));
}

double LineFraction(double petrolMs) {
  return std::clamp((petrolMs - kLeftFactorPetrolMs) / (kRightFactorPetrolMs - kLeftFactorPetrolMs),
                    0.0, 1.0);
}

double GasRatioAt(Factors factors, double petrolMs) {
  return factors.left + (factors.right - factors.left) * LineFraction(petrolMs);
}

}  // namespace zav
