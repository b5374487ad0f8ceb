#pragma once
// The columns of a data log and of the charts: the sixteen live values the main window
// shows, with its captions and units and decoded exactly as it shows them, then the three
// live registers it does not show (41 to 43, raw) and the operating state.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datalog/live_sample.h"

namespace zav {

inline constexpr int kShownColumns = 16;
inline constexpr int kHiddenColumns = 3;   // registers 41 to 43
inline constexpr int kFirstHiddenRow = 9;  // row of register 41 in the live table

enum class ShownForm { Milliseconds, Integer };

struct ShownColumn {
  std::string_view caption;  // the main window's caption
  std::string_view unit;     // the main window's unit label
  int row = 0;               // row of the live table, register - 32
  ShownForm form = ShownForm::Integer;
};

// In register order: BA_1 to BA_4, GAS_1 to GAS_4, BA_V, Temp., Manif, Regul., Delta p,
// Battery, RPM, Lambda.
extern const std::array<ShownColumn, kShownColumns> kShownColumnTable;

// Indexes into DecodedSample::shown.
inline constexpr int kFirstPetrolColumn = 0;  // BA_1 to BA_4
inline constexpr int kFirstGasColumn = 4;     // GAS_1 to GAS_4
inline constexpr int kPetrolAverageColumn = 8;
inline constexpr int kTemperatureColumn = 9;
inline constexpr int kManifoldColumn = 10;
inline constexpr int kRegulatorColumn = 11;
inline constexpr int kDeltaColumn = 12;
inline constexpr int kBatteryColumn = 13;
inline constexpr int kRpmColumn = 14;
inline constexpr int kLambdaColumn = 15;

// A sample as the window shows it, in numbers: what charts plot and what a log holds.
struct DecodedSample {
  double seconds = 0.0;                      // since the start of the recording or session (s)
  std::int64_t unixMs = 0;                   // wall-clock time, when known (0 for a log read back)
  std::array<float, kShownColumns> shown{};  // ms for times, the raw number otherwise
  std::array<std::uint16_t, kHiddenColumns> hidden{};
  bool statusKnown = false;
  std::uint16_t status = 0;
};

// The text the window shows for a column of a sample: "1.23" for a time, "850" otherwise.
std::string ShownText(const ShownColumn& column, const LiveSample& sample);

// The number that text stands for, as charts take it.
float ShownNumber(const ShownColumn& column, std::uint16_t raw);

// `startSteadyMs`: the steady time that counts as second 0.
DecodedSample DecodeSample(const LiveSample& sample, std::int64_t startSteadyMs);

// "BA_1 (ms)"; a caption that is its own unit ("RPM") stands alone.
std::string ColumnHeading(const ShownColumn& column);

}  // namespace zav
