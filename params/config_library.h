#pragma once
// The library of named configurations stored in the settings file behind the port name.

#include <cstdint>
#include <vector>

namespace zav {

struct ConfigLibrary {
  std::vector<std::uint8_t> records;  // the settings file from byte 4 on, 96 bytes a record
  std::uint16_t recordCount = 0;      // 0: no library loaded
};

}  // namespace zav
