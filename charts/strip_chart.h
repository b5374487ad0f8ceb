#pragma once
// The strip chart of samples against time, drawn on any canvas: the Petrol, Gas and Low RPM
// states as background bands, a value axis per unit (ms on the left; RPM, mBar, C and mV on
// the right, each only while a series of it is shown), round-second ticks along the time
// axis, and the lines, thinned to one slice per pixel column and broken where samples are
// missing (see UnbrokenRuns). The legend under the plot names the series and bands; a click
// on a series' entry shows or hides it (see StripSeriesAt).

#include <array>
#include <cstdint>
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
  // A following chart's start on whole pixels: `from` is `column` times `pixelTime` (s), the
  // pixel's worth of time of the plot last drawn (see AlignedColumn); 0: not aligned.
  double pixelTime = 0.0;
  std::int64_t column = 0;
};

// What the chart's frame (the value axes, the plot's place, the legend) is drawn from. While
// it stays the same, time moving on changes only the plot and the time axis under it.
struct StripFrame {
  PixelSize size;
  std::array<double, 5> axisTops{};  // per unit, in the axes' order; 0: no axis
  double span = 0.0;                 // s
  std::array<bool, kStripSeriesCount> series{};
  friend bool operator==(const StripFrame&, const StripFrame&) = default;
};

StripFrame StripFrameOf(PixelSize size, const std::deque<DecodedSample>& samples,
                        const StripShown& shown);

// Where things were drawn, for the clicks and the redraws that follow.
struct StripLayout {
  PixelBox plot;
  std::vector<PixelBox> legendBoxes;
  std::vector<int> legendSeries;  // per legend entry: its series, or -1 for a band
  StripFrame frame;
  // What time moving on changes: the plot and the time axis's labels under it, between the
  // value axes' labels.
  PixelBox moving;
  bool frameDrawn = false;  // the canvas painted some of what lies outside `moving`
  // The time axis: s a pixel, and where the plot starts in those pixels from 0 (whole when
  // `aligned`: the start asked for fitted the plot drawn).
  double pixelTime = 0.0;
  std::int64_t firstColumn = 0;
  bool aligned = false;
  int newestX = 0;         // px: the newest sample drawn, or the plot's left edge
  int timeLabelWidth = 0;  // px: the widest time label of the span's form
};

// The chart; on a canvas painting only `moving` (see Canvas::NeedsPainting) the frame is
// left as it was.
StripLayout DrawStripChart(Canvas& canvas, PixelSize size, const std::deque<DecodedSample>& samples,
                           const StripShown& shown);

// The series whose legend entry holds `point`.
std::optional<int> StripSeriesAt(const StripLayout& layout, PixelPoint point);

}  // namespace zav
