#pragma once
// Register listings as text: one line per register with its number, caption, value and unit.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zav::cli {

std::string RegisterLine(std::uint8_t address, std::string_view value);
// "Name of config": the library's name for these values, or a note why there is none.
std::string ConfigNameLine(const std::optional<std::string>& name);

}  // namespace zav::cli
