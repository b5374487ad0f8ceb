#include "params/set_factors.h"

namespace zav {

std::uint16_t ParameterAt(const ParameterWords& parameters, std::uint8_t address) {
  return parameters[static_cast<std::size_t>(address - kFirstImageRegister)];
}

TrackbarPositions PositionsOf(const ParameterWords& parameters) {
  return OpeningPositions(ParameterAt(parameters, kXAxisRegister),
                          ParameterAt(parameters, kYAxisRegister),
                          ParameterAt(parameters, kNumeratorRegister));
}

Factors FactorsOf(const ParameterWords& parameters) {
  return FactorsAt(PositionsOf(parameters));
}

}  // namespace zav
