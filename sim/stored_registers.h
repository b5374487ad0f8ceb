#pragma once
// The controller's stored registers 80 to 102: the fifteen parameters (80 to 94), the
// hardware and firmware version (95 to 98, two characters each, high byte first), the serial
// number (99 to 101) and the error flags (102).

#include <array>
#include <cstdint>

namespace zav::sim {

struct StoredRegisters {
  std::array<std::uint16_t, 23> values{};
};

// As the controller leaves the factory: default parameters, version "1.0.2.3", firmware
// "04.12", a serial number and no errors.
StoredRegisters FactoryRegisters();

bool IsStoredRegister(std::uint8_t address);
// The registers the tool may write with 'S': the thirteen parameters 80 to 92.
bool IsWritableByTool(std::uint8_t address);

// `address` must be a stored register.
std::uint16_t& StoredAt(StoredRegisters& registers, std::uint8_t address);
std::uint16_t StoredAt(const StoredRegisters& registers, std::uint8_t address);

}  // namespace zav::sim
