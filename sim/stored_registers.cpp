#include "sim/stored_registers.h"

#include "link/wire.h"

namespace zav::sim {

StoredRegisters FactoryRegisters() {
  return StoredRegisters{{
      // 80 to 94: temperature 40 C, manifold pressure 500 to 650 mBar, delay 500 ms, delta p
      // 200 mBar for 500 ms, preheat 3300 us, formula 599 / 4000 / 48160 / 5, min. gas time
      // 2000 us, petrol time 0, and the two spare words.
      40,     500,    650,    500, 200, 500, 3300,   599,    4000,
      48160,  5,      2000,   0,   0,   0,   0x3130, 0x3233,  // hardware version "1.0.2.3"
      0x3034, 0x3132,                                         // firmware version "04.12"
      0x0601, 0x2203, 0x0457,  // serial number, read as 060291-197719
      0x0000,                  // error flags
  }};
}

bool IsStoredRegister(std::uint8_t address) {
  return address >= kFirstImageRegister && address <= kLastImageRegister;
}

bool IsWritableByTool(std::uint8_t address) {
  return address >= kFirstImageRegister && address <= kLastWritableRegister;
}

std::uint16_t& StoredAt(StoredRegisters& registers, std::uint8_t address) {
  return registers.values[static_cast<std::size_t>(address - kFirstImageRegister)];
}

std::uint16_t StoredAt(const StoredRegisters& registers, std::uint8_t address) {
  return registers.values[static_cast<std::size_t>(address - kFirstImageRegister)];
}

}  // namespace zav::sim
