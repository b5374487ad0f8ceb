#include "cli/register_table.h"

#include "cli/register_rows.h"

namespace zav::cli {

namespace {

constexpr std::size_t kCaptionWidth = 24;  // characters
constexpr std::size_t kValueWidth = 7;
constexpr std::size_t kAddressWidth = 5;  // "102" and two blanks

std::string Padded(std::string_view text, std::size_t width) {
  std::string padded(text);
  if (padded.size() < width) {
    padded.resize(width, ' ');
  }
  return padded;
}

}  // namespace

std::string RegisterLine(std::uint8_t address, std::string_view value) {
  const RegisterRow row = RowOf(address);
  std::string shownValue(value);
  if (shownValue.size() < kValueWidth) {
    shownValue.insert(0, kValueWidth - shownValue.size(), ' ');
  }
  std::string line = Padded(std::to_string(address), kAddressWidth) +
                     Padded(row.caption, kCaptionWidth) + shownValue;
  if (!row.unit.empty()) {
    line += " " + std::string(row.unit);
  }
  return line + "\n";
}

std::string ConfigNameLine(const std::optional<std::string>& name) {
  if (!name) {
    return "Name of config: (no library in zavmon.cfg)\n";
  }
  return "Name of config: " + (name->empty() ? std::string("(none matches)") : *name) + "\n";
}

}  // namespace zav::cli
