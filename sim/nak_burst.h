#pragma once
// The NAK-burst fault of uploads: a good block is answered with NAK a few times before the
// controller takes it, as a controller would that found itself too busy to store it.

#include <cstdint>

#include "sim/faults.h"
#include "sim/random.h"

namespace zav::sim {

struct NakBurst {
  bool active = false;
  std::uint8_t block = 0;
  std::uint32_t naksLeft = 0;
};

// True when the good block `block`, just arrived, is to be answered with NAK once more.
bool HoldBackBlock(NakBurst& burst, std::uint8_t block, const FaultOptions& faults, Random& random);

}  // namespace zav::sim
