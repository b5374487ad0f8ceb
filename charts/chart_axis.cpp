#include "charts/chart_axis.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace zav {

namespace {

// A round step: mantissa (tenths) times ten to the power.
struct RoundStep {
  int tenths = 10;  // 10, 20, 25 or 50
  int power = 0;
  double Value() const { return tenths / 10.0 * std::pow(10.0, power); }
};

RoundStep RoundStepAbove(double value) {
  value = std::max(value, 1e-9);
  const int power = static_cast<int>(std::floor(std::log10(value)));
  for (const int tenths : {10, 20, 25, 50, 100}) {
    if (tenths / 10.0 * std::pow(10.0, power) >= value * (1.0 - 1e-12)) {
      return tenths == 100 ? RoundStep{10, power + 1} : RoundStep{tenths, power};
    }
  }
  return {10, power + 1};
}

// `count` steps written with the decimals the step needs: exact, since the tick is made
// from whole numbers rather than added up.
std::string StepLabel(long long count, RoundStep step) {
  const int decimals = std::max(0, -step.power + (step.tenths == 25 ? 1 : 0));
  const double value = static_cast<double>(count * step.tenths) / 10.0 * std::pow(10.0, step.power);
  std::array<char, 64> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                    std::chars_format::fixed, decimals);
  return std::string(text.data(), result.ptr);
}

std::string TwoDigits(long long value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

// Whole seconds as the time axis shows them (see TimeTicks).
std::string TimeLabel(long long seconds, double span) {
  const bool negative = seconds < 0;
  const long long whole = negative ? -seconds : seconds;
  std::string text;
  if (span < 600.0) {
    text = std::to_string(whole);
  } else if (span < 36000.0) {
    text = std::to_string(whole / 60) + ":" + TwoDigits(whole % 60);
  } else {
    text = std::to_string(whole / 3600) + ":" + TwoDigits(whole / 60 % 60) + ":" +
           TwoDigits(whole % 60);
  }
  return negative ? "-" + text : text;
}

// Steps a time axis takes (s): each a round number on the clock.
constexpr std::array<long long, 19> kTimeSteps{1,     2,     5,     10,    15,    30,   60,
                                               120,   300,   600,   900,   1800,  3600, 7200,
                                               10800, 21600, 43200, 86400, 172800};

}  // namespace

std::string_view TimeUnit(double span) {
  return span < 600.0 ? "s" : span < 36000.0 ? "min:s" : "h:min:s";
}

double RoundTop(double value, double least) {
  return RoundStepAbove(std::max(value, least)).Value();
}

std::vector<AxisTick> ValueTicks(double top) {
  const RoundStep step = RoundStepAbove(top / 5.0);
  std::vector<AxisTick> ticks;
  for (long long count = 0; count * step.Value() <= top * (1.0 + 1e-9); ++count) {
    ticks.push_back({count * step.Value(), StepLabel(count, step)});
  }
  return ticks;
}

RoundRange RangeTicks(double low, double high) {
  high = std::max(high, low + 1e-6);
  const RoundStep step = RoundStepAbove((high - low) / 5.0);
  const double size = step.Value();
  const auto first = static_cast<long long>(std::floor(low / size * (1.0 + 1e-12)));
  const auto last = static_cast<long long>(std::ceil(high / size * (1.0 - 1e-12)));
  RoundRange range{static_cast<double>(first) * size, static_cast<double>(last) * size, {}};
  for (long long count = first; count <= last; ++count) {
    range.ticks.push_back({static_cast<double>(count) * size, StepLabel(count, step)});
  }
  return range;
}

std::vector<AxisTick> TicksWithin(double from, double to, int most) {
  std::vector<AxisTick> ticks;
  if (!(to > from) || most < 1) {
    return ticks;
  }
  const RoundStep step = RoundStepAbove((to - from) / most);
  const double size = step.Value();
  const auto first = static_cast<long long>(std::ceil(from / size - 1e-9));
  for (long long count = first; count * size <= to + size * 1e-9; ++count) {
    ticks.push_back({count * size, StepLabel(count, step)});
  }
  return ticks;
}

std::vector<AxisTick> TimeTicks(double from, double to, int most) {
  std::vector<AxisTick> ticks;
  const double span = to - from;
  if (!(span > 0.0) || most < 1) {
    return ticks;
  }
  long long step = kTimeSteps.back();
  for (const long long candidate : kTimeSteps) {
    if (span / static_cast<double>(candidate) <= most) {
      step = candidate;
      break;
    }
  }
  const auto first = static_cast<long long>(std::ceil(from / static_cast<double>(step)));
  for (long long count = first; static_cast<double>(count * step) <= to; ++count) {
    ticks.push_back({static_cast<double>(count * step), TimeLabel(count * step, span)});
  }
  return ticks;
}

std::int64_t AlignedColumn(double from, double pixelTime) {
  return static_cast<std::int64_t>(std::ceil(from / pixelTime));
}

}  // namespace zav
