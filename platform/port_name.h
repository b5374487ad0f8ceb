#pragma once
// The port name as the settings file keeps it in its first four bytes, "COM1" to "COM9",
// and as the serial device is opened by.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zav {

inline constexpr std::size_t kPortNameLength = 4;  // bytes, no terminator in the file

// 1..9 for "COM1".."COM9"; nothing for any other name.
constexpr std::optional<int> ComPortNumber(std::string_view name) {
  if (name.size() != kPortNameLength || name.substr(0, 3) != "COM") {
    return std::nullopt;
  }
  const char digit = name[3];
  if (digit < '1' || digit > '9') {
    return std::nullopt;
  }
  return digit - '0';
}

// The four bytes stored for `number`: "COM3" for 3. The list's tenth entry (10) is stored
// as "COM:", the digit byte counted on past '9', as the file has always held it.
inline std::string ComPortName(int number) {
  return "COM" + std::string(1, static_cast<char>('0' + number));
}

}  // namespace zav
