#pragma once
// The strip chart of samples against time, drawn on any canvas: the Petrol, Gas and Low RPM
// states as background bands, a value axis per unit (ms on the left; RPM, mBar, C and mV on
// the right, each only while a series of it is shown), round-second ticks along the time
// axis, and the lines, thinned to one slice per pixel column and broken where samples are
// missing (see UnbrokenRuns). The legend under the plot names the series and bands; a click
// on a series' entry shows or hides it (see StripSeriesAt).

#include <array>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

#include "datalog/strip_view.h"
#include "platform/canvas.h"

namespace zav {

// The colour each strip series is drawn in, in kStripSeriesTable's order.
extern const std::array<Colour, kStripSeriesCount> kStripSeriesColours;
// The unit of a strip series' axis ("ms", "RPM", "mBar", "C", "mV").
std::string_view StripSeriesUnit(int index);

// What the chart shows.
struct StripShown {
  double from = 0.0;  // s
  double to = 30.0;   // s
  std::array<bool, kStripSeriesCount> series{true, true, true, true, true, true, true,
                                             true, true, true, true, true, true};
  // For a picture: the legend names only the series shown, with no greyed entries.
  bool picture = false;
};

// Where things were drawn, for the clicks that follow.
struct StripLayout {
  PixelBox plot;
  std::vector<PixelBox> legendBoxes;
  std::vector<int> legendSeries;  // per legend entry: its series, or -1 for a band
};

StripLayout DrawStripChart(Canvas& canvas, PixelSize size, const std::deque<DecodedSample>& samples,
                           const StripShown& shown);

// The series whose legend entry holds `point`.
std::optional<int> StripSeriesAt(const StripLayout& layout, PixelPoint point);

}  // namespace zav
