#pragma once
// The parameter set: registers 80 to 94, the controller's switch-over and formula settings.
// Members 1 to 13 (registers 80 to 92) are edited and sent to the controller; members 14 and
// 15 (registers 93 and 94) only travel with files, defaults and library records.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "link/link_state.h"

namespace zav {

inline constexpr int kParameterCount = 15;                           // registers 80 to 94
inline constexpr int kEditableParameters = 13;                       // registers 80 to 92
inline constexpr std::size_t kParameterBytes = 2 * kParameterCount;  // 30 bytes, low byte first

using ParameterWords = std::array<std::uint16_t, kParameterCount>;

// One member of the set. Caption texts come from kParameterCaptions, assigned by control id.
struct ParameterMember {
  std::uint8_t address = 0;
  std::string_view caption;
  std::string_view unit;  // empty: no unit label
  int dialogCaption = 0;  // 0: no caption, no edit (members 14 and 15)
  int mainCaption = 0;
  int dialogEdit = 0;
  int mainEdit = 0;
  std::uint16_t defaultValue = 0;
};

inline constexpr std::array<ParameterMember, kParameterCount> kParameterSet{{
    {80, "Temperature", "°C", 2013, 1081, 2042, 1085, 40},
    {81, "Min. manifold pressure", "mBar", 2012, 1080, 2041, 1086, 500},
    {82, "Max. manifold pressure", "mBar", 2011, 1079, 2040, 1087, 650},
    {83, "Delay", "ms", 2010, 1078, 2030, 1088, 500},
    {84, "Min. delta p ", "mBar", 2008, 1076, 2032, 1089, 200},
    {85, "Delta p delay", "ms", 2007, 1075, 2033, 1090, 500},
    {86, "Preheat", "us", 2009, 1077, 2031, 1091, 3300},
    {87, "X axis", "", 2006, 1074, 2034, 1092, 599},
    {88, "Y axis", "", 2005, 1073, 2035, 1093, 4000},
    {89, "Numerator", "", 2004, 1072, 2036, 1094, 48160},
    {90, "Coeficient", "", 2003, 1071, 2037, 1095, 5},
    {91, "Min. gas time", "us", 2002, 1070, 2038, 1096, 2000},
    {92, "Petrol time", "", 2001, 1069, 2039, 1097, 0},
    {93, "", "", 0, 0, 0, 0, 0},
    {94, "", "", 0, 0, 0, 0, 0},
}};

// The values that "Default values" restores, in register order.
inline constexpr ParameterWords kDefaultParameters = [] {
  ParameterWords words{};
  for (std::size_t i = 0; i < words.size(); ++i) {
    words[i] = kParameterSet[i].defaultValue;
  }
  return words;
}();

// Edit of the Parameters dialog for register 80 + i. Not in register order.
inline constexpr std::array<int, kEditableParameters> kParameterEdits = [] {
  std::array<int, kEditableParameters> edits{};
  for (std::size_t i = 0; i < edits.size(); ++i) {
    edits[i] = kParameterSet[i].dialogEdit;
  }
  return edits;
}();

// Read access to one register of the image (80 to 102).
inline std::uint16_t RegisterValue(const RegisterImage& image, std::uint8_t address) {
  return image.values[static_cast<std::size_t>(address - kFirstImageRegister)];
}

ParameterWords ParametersOf(const RegisterImage& image);
void StoreParameters(RegisterImage& image, const ParameterWords& words);

// "Default values": registers 80 to 94 take the defaults; nothing is sent.
void ApplyDefaults(RegisterImage& image);

// Fifteen little-endian words, as in parameter files and library records.
ParameterWords DecodeParameterWords(std::span<const std::uint8_t, kParameterBytes> bytes);

}  // namespace zav
