#pragma once
// Captions and units of registers 80 to 102 for listings: the parameter set's own for 80 to
// 92, plain names for the rest.

#include <cstdint>
#include <string_view>

namespace zav::cli {

struct RegisterRow {
  std::string_view caption;
  std::string_view unit;
};

// Register 80 to 102.
RegisterRow RowOf(std::uint8_t address);

}  // namespace zav::cli
