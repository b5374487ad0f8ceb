#include "sim/nak_burst.h"

namespace zav::sim {

bool HoldBackBlock(NakBurst& burst, std::uint8_t block, const FaultOptions& faults,
                   Random& random) {
  if (!burst.active || burst.block != block) {
    burst = NakBurst{};
    if (faults.nakBurst == 0 || !Chance(random, faults.nakBurstRate)) {
      return false;
    }
    burst = NakBurst{true, block, faults.nakBurst};
  }
  if (burst.naksLeft == 0) {
    burst = NakBurst{};
    return false;
  }
  --burst.naksLeft;
  return true;
}

}  // namespace zav::sim
