#include "cli/json_output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "cli/command_line.h"
#include "cli/register_rows.h"
#include "params/parameter_set.h"
#include "texts/shortest_number.h"

namespace zav::cli {

namespace {

constexpr int kIndent = 4;  // blanks per level

bool IsNumber(const std::string& key) {
  return !key.empty() &&
         std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Register numbers in numeric order ("80" before "100"), then the other keys by name.
bool KeyBefore(const std::string& left, const std::string& right) {
  if (IsNumber(left) != IsNumber(right)) {
    return IsNumber(left);
  }
  if (IsNumber(left) && left.size() != right.size()) {
    return left.size() < right.size();
  }
  return left < right;
}

// A string, number, true, false or null as JSON. Text that is not UTF-8 is written with
// U+FFFD in place of the faulty bytes rather than failing the whole output.
std::string ScalarText(const Json& value) {
  if (value.is_number_float()) {
    const double number = value.get<double>();
    return std::isfinite(number) ? ShortestText(number) : "null";
  }
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void AppendValue(std::string& out, const Json& value, int depth);

void AppendObject(std::string& out, const Json& object, int depth) {
  if (object.empty()) {
    out += "{}";
    return;
  }
  std::vector<std::string> keys;
  for (const auto& item : object.items()) {
    keys.push_back(item.key());
  }
  std::sort(keys.begin(), keys.end(), KeyBefore);
  const std::string inner(static_cast<std::size_t>((depth + 1) * kIndent), ' ');
  out += "{\n";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    out += inner + ScalarText(Json(keys[i])) + ": ";
    AppendValue(out, object.at(keys[i]), depth + 1);
    out += i + 1 < keys.size() ? ",\n" : "\n";
  }
  out += std::string(static_cast<std::size_t>(depth * kIndent), ' ') + "}";
}

void AppendArray(std::string& out, const Json& array, int depth) {
  if (array.empty()) {
    out += "[]";
    return;
  }
  const std::string inner(static_cast<std::size_t>((depth + 1) * kIndent), ' ');
  out += "[\n";
  for (std::size_t i = 0; i < array.size(); ++i) {
    out += inner;
    AppendValue(out, array.at(i), depth + 1);
    out += i + 1 < array.size() ? ",\n" : "\n";
  }
  out += std::string(static_cast<std::size_t>(depth * kIndent), ' ') + "]";
}

void AppendValue(std::string& out, const Json& value, int depth) {
  if (value.is_object()) {
    AppendObject(out, value, depth);
  } else if (value.is_array()) {
    AppendArray(out, value, depth);
  } else {
    out += ScalarText(value);
  }
}

}  // namespace

std::string JsonText(const Json& object) {
  std::string out;
  AppendValue(out, object, 0);
  out += '\n';
  return out;
}

void PrintJson(const CliContext& cli, const Json& object) {
  Print(cli, JsonText(object));
}

Json JsonNumber(float value) {
  if (!std::isfinite(value)) {
    return nullptr;
  }
  const std::string text = ShortestText(value);
  double widened = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), widened);
  return widened;
}

Json RegistersJson(const RegisterImage& image, std::uint8_t first, std::uint8_t last) {
  Json registers = Json::object();
  for (unsigned address = first; address <= last; ++address) {
    const auto shortAddress = static_cast<std::uint8_t>(address);
    const RegisterRow row = RowOf(shortAddress);
    registers[std::to_string(address)] = {{"caption", std::string(row.caption)},
                                          {"unit", std::string(row.unit)},
                                          {"value", RegisterValue(image, shortAddress)}};
  }
  return registers;
}

}  // namespace zav::cli
