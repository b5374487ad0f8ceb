#include "datalog/sample_columns.h"

#include <charconv>

#include "texts/live_text.h"

namespace zav {

const std::array<ShownColumn, kShownColumns> kShownColumnTable{{
    {"BA_1", "ms", 0, ShownForm::Milliseconds},
    {"BA_2", "ms", 1, ShownForm::Milliseconds},
    {"BA_3", "ms", 2, ShownForm::Milliseconds},
    {"BA_4", "ms", 3, ShownForm::Milliseconds},
    {"GAS_1", "ms", 4, ShownForm::Milliseconds},
    {"GAS_2", "ms", 5, ShownForm::Milliseconds},
    {"GAS_3", "ms", 6, ShownForm::Milliseconds},
    {"GAS_4", "ms", 7, ShownForm::Milliseconds},
    {"BA_V", "ms", 8, ShownForm::Milliseconds},
    {"Temp.", "C", 12, ShownForm::Integer},
    {"Manif", "mBar", 13, ShownForm::Integer},
    {"Regul.", "mBar", 14, ShownForm::Integer},
    {"Delta p", "mBar", 15, ShownForm::Integer},
    {"Battery", "mV", 16, ShownForm::Integer},
    {"RPM", "RPM", 17, ShownForm::Integer},
    {"Lambda", "mV", 18, ShownForm::Integer},
}};

namespace {

std::string RawText(const ShownColumn& column, std::uint16_t raw) {
  return column.form == ShownForm::Milliseconds ? InjectionTimeText(raw) : std::to_string(raw);
}

}  // namespace

std::string ShownText(const ShownColumn& column, const LiveSample& sample) {
  return RawText(column, sample.values[static_cast<std::size_t>(column.row)]);
}

float ShownNumber(const ShownColumn& column, std::uint16_t raw) {
  if (column.form == ShownForm::Integer) {
    return static_cast<float>(raw);
  }
  // Through the window's text, so a chart shows exactly the digits the window showed.
  const std::string text = InjectionTimeText(raw);
  float number = 0.0f;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

DecodedSample DecodeSample(const LiveSample& sample, std::int64_t startSteadyMs) {
  DecodedSample decoded;
  decoded.seconds = static_cast<double>(sample.steadyMs - startSteadyMs) / 1000.0;
  decoded.unixMs = sample.unixMs;
  for (std::size_t i = 0; i < kShownColumnTable.size(); ++i) {
    const ShownColumn& column = kShownColumnTable[i];
    decoded.shown[i] = ShownNumber(column, sample.values[static_cast<std::size_t>(column.row)]);
  }
  for (std::size_t i = 0; i < decoded.hidden.size(); ++i) {
    decoded.hidden[i] = sample.values[kFirstHiddenRow + i];
  }
  decoded.statusKnown = sample.statusKnown;
  decoded.status = sample.status;
  return decoded;
}

std::string ColumnHeading(const ShownColumn& column) {
  if (column.caption == column.unit) {
    return std::string(column.caption);
  }
  return std::string(column.caption) + " (" + std::string(column.unit) + ")";
}

}  // namespace zav
