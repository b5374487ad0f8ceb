#pragma once
// The numbers along a chart's axes: where the ticks go and what they say. Ticks fall on round
// numbers (1, 2, 2.5 or 5 times a power of ten), and on round seconds, minutes or hours along
// a time axis. Labels are written with a decimal point whatever the locale, and only with
// the decimals the step needs ("0.5", "12", never "12.000" or "0,5").

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

// A round number at or above `value` (at least `least`), for the top end of a value axis.
double RoundTop(double value, double least);

struct AxisTick {
  double value = 0.0;
  std::string label;
};

// Ticks of a value axis from 0 to `top` (a RoundTop), about five of them.
std::vector<AxisTick> ValueTicks(double top);

// A value axis over [low, high] widened to round ends, and about five ticks across it: the
// axes of a chart whose values do not start at 0.
struct RoundRange {
  double low = 0.0;
  double high = 1.0;
  std::vector<AxisTick> ticks;
};
RoundRange RangeTicks(double low, double high);

// Ticks of a value axis over [from, to] on round numbers, about `most` of them at most.
std::vector<AxisTick> TicksWithin(double from, double to, int most);

// Ticks of a time axis over [from, to] (s), about `most` of them at most, on round seconds:
// labelled "45" below ten minutes' span, "12:30" (min:s) below ten hours', else "2:05:00".
std::vector<AxisTick> TimeTicks(double from, double to, int most);

// What the time axis's labels count in over a span of `span` s: "s", "min:s" or "h:min:s".
std::string_view TimeUnit(double span);

// A value mapped to pixels: `from` lands on `fromPx`, `to` on `toPx` (either way round).
struct AxisScale {
  double from = 0.0;
  double to = 1.0;
  int fromPx = 0;
  int toPx = 1;
  // Inline: a redraw maps some 40,000 points.
  int Pixel(double value) const {
    const double width = to - from;
    const double share = width != 0.0 ? (value - from) / width : 0.0;
    const double pixel = fromPx + share * (toPx - fromPx);
    // Far outside the plot a point is clipped anyway; the bound keeps the int in range. Half
    // away from zero, as lround, without its call.
    const double bounded = std::clamp(pixel, -1e6, 1e6);
    return bounded >= 0.0 ? static_cast<int>(bounded + 0.5) : -static_cast<int>(0.5 - bounded);
  }
};

// A time axis counted in whole pixels: `pixelTime` s a pixel, the left edge `firstColumn`
// pixels' worth of time after 0. A time lands on column seconds / pixelTime - firstColumn,
// rounded half up; with a whole `firstColumn` that start moving on by n pixels moves every
// time's pixel by exactly n, so what was drawn can be moved rather than drawn again.
struct PixelTimeScale {
  double pixelTime = 1.0;  // s
  double firstColumn = 0.0;
  int leftPx = 0;
  int Pixel(double seconds) const {
    // Far outside the plot a point is clipped anyway; the bound keeps the int in range.
    const double column = std::clamp(seconds / pixelTime - firstColumn, -1e6, 1e6) + 0.5;
    // Rounded down, as floor without its call: a redraw maps some 40,000 points.
    const int whole = static_cast<int>(column);
    return leftPx + (whole > column ? whole - 1 : whole);
  }
  double Seconds(int px) const { return (px - leftPx + firstColumn) * pixelTime; }
};

// `from` (s) rounded up to a whole number of pixels' worth of time (`pixelTime` s), counted
// in those pixels from 0.
std::int64_t AlignedColumn(double from, double pixelTime);

}  // namespace zav
