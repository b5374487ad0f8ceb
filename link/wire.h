#pragma once
// The byte layout of the frames on the line between the tool and the controller.
// Requests (tool to controller) are 7 bytes: 02 letter address high low checksum 0D.
// Responses (controller to tool) are 6 bytes: 02 address high low checksum 0D.
// The checksum is the 8-bit sum of every byte before it, the start byte included. Neither
// frame escapes anything: 0x02 and 0x0D may appear as data.

#include <array>
#include <cstdint>

namespace zav {

inline constexpr std::uint8_t kFrameStart = 0x02;
inline constexpr std::uint8_t kFrameEnd = 0x0D;

inline constexpr std::uint8_t kLetterQuery = 'Q';
inline constexpr std::uint8_t kLetterSet = 'S';
inline constexpr std::uint8_t kLetterSwitch = 'B';
inline constexpr std::uint8_t kLetterClearErrors = 'C';
inline constexpr std::uint8_t kLetterUpgrade = 'U';

using RequestBytes = std::array<std::uint8_t, 7>;
using ResponseBytes = std::array<std::uint8_t, 6>;

constexpr std::uint8_t HighByte(std::uint16_t value) {
  return static_cast<std::uint8_t>(value >> 8);
}
constexpr std::uint8_t LowByte(std::uint16_t value) {
  return static_cast<std::uint8_t>(value);
}
constexpr std::uint16_t WordOf(std::uint8_t high, std::uint8_t low) {
  return static_cast<std::uint16_t>(high << 8 | low);
}

constexpr std::uint8_t RequestChecksum(std::uint8_t letter, std::uint8_t address,
                                       std::uint16_t value) {
  return static_cast<std::uint8_t>(kFrameStart + letter + address + HighByte(value) +
                                   LowByte(value));
}

constexpr std::uint8_t ResponseChecksum(std::uint8_t address, std::uint16_t value) {
  return static_cast<std::uint8_t>(kFrameStart + address + HighByte(value) + LowByte(value));
}

constexpr RequestBytes EncodeRequest(std::uint8_t letter, std::uint8_t address,
                                     std::uint16_t value) {
  return {kFrameStart,     letter,         address,
          HighByte(value), LowByte(value), RequestChecksum(letter, address, value),
          kFrameEnd};
}

constexpr ResponseBytes EncodeResponse(std::uint8_t address, std::uint16_t value) {
  return {kFrameStart, address, HighByte(value), LowByte(value), ResponseChecksum(address, value),
          kFrameEnd};
}

// Register addresses.
inline constexpr std::uint8_t kFirstLiveRegister = 32;
inline constexpr std::uint8_t kLastLiveRegister = 50;
inline constexpr std::uint8_t kStatusRegister = 51;
inline constexpr std::uint8_t kFirstImageRegister = 80;
inline constexpr std::uint8_t kLastImageRegister = 102;
inline constexpr std::uint8_t kLastWritableRegister = 92;
inline constexpr std::uint8_t kLastParameterRegister = 94;
inline constexpr std::uint8_t kHardwareVersionRegister = 95;
inline constexpr std::uint8_t kErrorFlagsRegister = 102;

// Operating states reported in the status register.
inline constexpr std::uint16_t kStatusGas = 6;
inline constexpr std::uint16_t kStatusPetrol = 12;
inline constexpr std::uint16_t kStatusPreheat = 47;
inline constexpr std::uint16_t kStatusLowRpm = 48;
inline constexpr std::uint16_t kStatusFlushing = 49;
inline constexpr std::uint16_t kStatusDelay = 50;

}  // namespace zav
