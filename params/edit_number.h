#pragma once
// The number in a parameter edit, read as the desktop layer reads an unsigned integer from
// a control: decimal digits only.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zav {

// The value of a text of decimal digits, if it is at most 65535. Empty text, any other
// character (blanks and signs included) and larger values give nothing.
std::optional<std::uint16_t> ReadParameterText(std::string_view text);

}  // namespace zav
