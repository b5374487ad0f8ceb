#include "params/edit_number.h"

#include <limits>

namespace zav {

std::optional<std::uint16_t> ReadParameterText(std::string_view text) {
  constexpr std::uint32_t kLargest = std::numeric_limits<std::uint16_t>::max();
  if (text.empty()) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (const char digit : text) {
    if (digit < '0' || digit > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint32_t>(digit - '0');
    if (value > kLargest) {  // checked at every digit, so long texts cannot wrap
      return std::nullopt;
    }
  }
  return static_cast<std::uint16_t>(value);
}

}  // namespace zav
