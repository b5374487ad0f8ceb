#pragma once
// The factors' line a parameter set stands for: registers 87 to 89 of the set, read the way
// the Parameters dialog places its trackbars when it opens.

#include <cstdint>

#include "params/gas_ratio_line.h"
#include "params/parameter_set.h"

namespace zav {

// Register `address` (80 to 94) of the set.
std::uint16_t ParameterAt(const ParameterWords& parameters, std::uint8_t address);

// Where the Parameters dialog places its trackbars for the set.
TrackbarPositions PositionsOf(const ParameterWords& parameters);

// The factors of those positions.
Factors FactorsOf(const ParameterWords& parameters);

}  // namespace zav
