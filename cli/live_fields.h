#pragma once
// The live values as the main window shows them: caption, unit, and the value decoded the
// same way (injection times in ms from steps of 0.5 us, the rest as plain numbers), with a
// stable lower-case key for machine-readable output.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/link_state.h"

namespace zav::cli {

struct LiveField {
  std::string_view key;      // "rpm", "ba_1", ...
  std::string_view caption;  // the main window's caption
  std::string_view unit;
  std::uint8_t address = 0;  // register 32 to 50
  bool injectionTime = false;
};

inline constexpr std::array<LiveField, 16> kLiveFields{{
    {"ba_1", "BA_1", "ms", 32, true},
    {"ba_2", "BA_2", "ms", 33, true},
    {"ba_3", "BA_3", "ms", 34, true},
    {"ba_4", "BA_4", "ms", 35, true},
    {"ba_v", "BA_V", "ms", 40, true},
    {"gas_1", "GAS_1", "ms", 36, true},
    {"gas_2", "GAS_2", "ms", 37, true},
    {"gas_3", "GAS_3", "ms", 38, true},
    {"gas_4", "GAS_4", "ms", 39, true},
    {"temp", "Temp.", "C", 44, false},
    {"manif", "Manif", "mBar", 45, false},
    {"regul", "Regul.", "mBar", 46, false},
    {"delta_p", "Delta p", "mBar", 47, false},
    {"battery", "Battery", "mV", 48, false},
    {"rpm", "RPM", "RPM", 49, false},
    {"lambda", "Lambda", "mV", 50, false},
}};

std::uint16_t RawValue(const LiveValueTable& live, const LiveField& field);
// The value as the window's edit shows it: "1.25" for a time, "805" otherwise.
std::string ShownValue(const LiveValueTable& live, const LiveField& field);

}  // namespace zav::cli
