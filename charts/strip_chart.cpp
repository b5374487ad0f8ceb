#include "charts/strip_chart.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "charts/chart_axis.h"
#include "charts/chart_legend.h"
#include "charts/chart_style.h"
#include "charts/strip_lines.h"
#include "link/wire.h"
#include "texts/live_text.h"

namespace zav {

namespace {

using chart_style::kAxisGapPx;
using chart_style::kBlack;
using chart_style::kGrid;
using chart_style::kMarginPx;
using chart_style::kTickPx;
using chart_style::kWhite;

constexpr int kTimeTickRoomPx = 70;  // a time tick per this much width at most

struct Band {
  std::uint16_t status;
  Colour colour;
};
constexpr std::array<Band, 3> kBands{{{kStatusPetrol, {255, 225, 225}},
                                      {kStatusGas, {200, 255, 200}},
                                      // The controller's own "Low RPM" state: below its
                                      // switch-over speed it injects no gas.
                                      {kStatusLowRpm, {215, 225, 250}}}};

// The units in the order of their axes; ms on the left, the rest on the right.
constexpr std::array<std::string_view, 5> kUnits{"ms", "RPM", "mBar", "C", "mV"};
// The least top of each unit's axis, so a flat line near zero is not blown up.
constexpr std::array<double, 5> kLeastTops{1.0, 100.0, 100.0, 10.0, 100.0};

std::size_t UnitIndex(int series) {
  const std::string_view unit = StripSeriesUnit(series);
  return static_cast<std::size_t>(std::find(kUnits.begin(), kUnits.end(), unit) - kUnits.begin());
}

struct ValueAxis {
  bool used = false;
  double top = 0.0;
  std::vector<AxisTick> ticks;
  int labelWidth = 0;  // px
};

// Each unit's axis top for the samples of `range` (0: no axis), from the highest value of a
// series shown; thinning keeps every slice's highest, so this is the lines' highest too.
std::array<double, kUnits.size()> AxisTops(const std::deque<DecodedSample>& samples,
                                           SampleRange range, const StripShown& shown) {
  // Every column's highest in one walk over the samples (a 10-minute strip holds some 4,000),
  // column by column side by side, which the compiler does several at a time.
  std::array<float, kShownColumns> columnHighest{};
  const auto end = samples.begin() + static_cast<std::ptrdiff_t>(range.last);
  for (auto sample = samples.begin() + static_cast<std::ptrdiff_t>(range.first); sample < end;
       ++sample) {
    for (std::size_t column = 0; column < kShownColumns; ++column) {
      columnHighest[column] = std::max(columnHighest[column], sample->shown[column]);
    }
  }
  std::array<float, kUnits.size()> highest{};
  std::array<bool, kUnits.size()> used{true};  // ms stays on the left even with every time hidden
  for (int i = 0; i < kStripSeriesCount; ++i) {
    if (shown.series[static_cast<std::size_t>(i)]) {
      const std::size_t unit = UnitIndex(i);
      const auto column =
          static_cast<std::size_t>(kStripSeriesTable[static_cast<std::size_t>(i)].column);
      used[unit] = true;
      highest[unit] = std::max(highest[unit], columnHighest[column]);
    }
  }
  std::array<double, kUnits.size()> tops{};
  for (std::size_t unit = 0; unit < kUnits.size(); ++unit) {
    tops[unit] = used[unit] ? RoundTop(highest[unit] * 1.1, kLeastTops[unit]) : 0.0;
  }
  return tops;
}

std::array<ValueAxis, kUnits.size()> ValueAxes(Canvas& canvas,
                                               const std::array<double, kUnits.size()>& tops) {
  std::array<ValueAxis, kUnits.size()> axes;
  for (std::size_t unit = 0; unit < kUnits.size(); ++unit) {
    ValueAxis& axis = axes[unit];
    axis.used = tops[unit] > 0.0;
    if (!axis.used) {
      continue;
    }
    axis.top = tops[unit];
    axis.ticks = ValueTicks(axis.top);
    axis.labelWidth = canvas.MeasureText(kUnits[unit]).width;
    for (const AxisTick& tick : axis.ticks) {
      axis.labelWidth = std::max(axis.labelWidth, canvas.MeasureText(tick.label).width);
    }
  }
  return axes;
}

std::vector<LegendEntry> LegendOf(const StripShown& shown, std::vector<int>& series) {
  std::vector<LegendEntry> entries;
  for (int i = 0; i < kStripSeriesCount; ++i) {
    const bool on = shown.series[static_cast<std::size_t>(i)];
    if (on || !shown.picture) {
      entries.push_back({std::string(kStripSeriesTable[static_cast<std::size_t>(i)].name),
                         kStripSeriesColours[static_cast<std::size_t>(i)], false, on});
      series.push_back(i);
    }
  }
  for (const Band& band : kBands) {
    entries.push_back({std::string(StatusText(band.status)), band.colour, true, true});
    series.push_back(-1);
  }
  return entries;
}

void DrawBands(Canvas& canvas, const std::deque<DecodedSample>& samples, SampleRange range,
               const PixelTimeScale& time, const PixelBox& plot) {
  for (const Band& band : kBands) {
    for (const StateSpan& span : SpansInState(samples, range, band.status)) {
      const int left = std::max(time.Pixel(span.from), plot.left);
      const int right = std::min(time.Pixel(span.to) + 1, plot.right);
      if (left < right) {
        canvas.FillRectangle({left, plot.top, right, plot.bottom}, band.colour);
      }
    }
  }
}

// A time label of the span's form at its widest.
std::string_view WidestTimeLabel(const StripShown& shown) {
  const double span = shown.to - shown.from;
  return span < 600.0 ? "000" : span < 36000.0 ? "000:00" : "00:00:00";
}

// Room right of the plot for the time axis's unit (px): half a label of the span's form
// ("10:00" reaches that far past its tick), a gap, then the unit.
int TimeUnitRoom(Canvas& canvas, const StripShown& shown) {
  return canvas.MeasureText(WidestTimeLabel(shown)).width / 2 + kAxisGapPx / 2 +
         canvas.MeasureText(TimeUnit(shown.to - shown.from)).width;
}

// Returns the widest label's width (px).
int DrawTimeAxis(Canvas& canvas, const StripShown& shown, const PixelTimeScale& time,
                 const PixelBox& plot) {
  const int most = std::max(plot.Width() / kTimeTickRoomPx, 2);
  canvas.SetTextColour(kBlack);
  // The left axis's lowest label reaches below the plot: a wide time label at the plot's
  // left edge starts right of it rather than running into it.
  const int leftmost = plot.left - kAxisGapPx / 2 + 1;
  int widest = 0;
  for (const AxisTick& tick : TimeTicks(shown.from, shown.to, most)) {
    const int x = time.Pixel(tick.value);
    canvas.FillRectangle({x, plot.top, x + 1, plot.bottom}, kGrid);
    canvas.FillRectangle({x, plot.bottom, x + 1, plot.bottom + kTickPx}, kBlack);
    const int width = canvas.MeasureText(tick.label).width;
    widest = std::max(widest, width);
    const bool centred = x - width / 2 >= leftmost;
    canvas.PlacedText({{centred ? x : leftmost, plot.bottom + kTickPx},
                       centred ? TextAlign::Centre : TextAlign::Start,
                       TextAlign::Start},
                      tick.label);
  }
  // Past the half of the last label that reaches beyond the plot.
  canvas.PlacedText({{plot.right + TimeUnitRoom(canvas, shown) -
                          canvas.MeasureText(TimeUnit(shown.to - shown.from)).width,
                      plot.bottom + kTickPx},
                     TextAlign::Start,
                     TextAlign::Start},
                    TimeUnit(shown.to - shown.from));
  return widest;
}

// A value axis's labels right of `x` (or left of it, for the left axis), its unit on top.
void DrawValueAxis(Canvas& canvas, const ValueAxis& axis, std::string_view unit, int x, bool left,
                   const PixelBox& plot) {
  const AxisScale scale{0.0, axis.top, plot.bottom - 1, plot.top};
  const TextAlign align = left ? TextAlign::End : TextAlign::Start;
  for (const AxisTick& tick : axis.ticks) {
    canvas.PlacedText({{x, scale.Pixel(tick.value)}, align, TextAlign::Centre}, tick.label);
  }
  // Clear of the top label's upper half, which reaches above the plot.
  canvas.PlacedText(
      {{x, plot.top - canvas.MeasureText(unit).height / 2 - 2}, align, TextAlign::End}, unit);
}

void DrawValueAxes(Canvas& canvas, const std::array<ValueAxis, kUnits.size()>& axes,
                   const StripShown& shown, const PixelBox& plot) {
  canvas.SetTextColour(kBlack);
  DrawValueAxis(canvas, axes[0], kUnits[0], plot.left - kAxisGapPx / 2, true, plot);
  int x = plot.right + kAxisGapPx / 2 + TimeUnitRoom(canvas, shown);
  for (std::size_t unit = 1; unit < kUnits.size(); ++unit) {
    if (axes[unit].used) {
      DrawValueAxis(canvas, axes[unit], kUnits[unit], x, false, plot);
      x += axes[unit].labelWidth + kAxisGapPx;
    }
  }
}

StripFrame FrameIn(PixelSize size, const std::deque<DecodedSample>& samples, SampleRange range,
                   const StripShown& shown) {
  // The span to the millisecond: a start moved on changes its last bits.
  return {size, AxisTops(samples, range, shown),
          std::round((shown.to - shown.from) * 1000.0) / 1000.0, shown.series};
}

// Whether the canvas paints any of `size` outside `inner`.
bool PaintsOutside(const Canvas& canvas, PixelSize size, const PixelBox& inner) {
  return canvas.NeedsPainting({0, 0, size.width, inner.top}) ||
         canvas.NeedsPainting({0, inner.bottom, size.width, size.height}) ||
         canvas.NeedsPainting({0, inner.top, inner.left, inner.bottom}) ||
         canvas.NeedsPainting({inner.right, inner.top, size.width, inner.bottom});
}

// The time axis of the plot laid out; on whole pixels when the start asked for was aligned to
// this plot's pixel.
PixelTimeScale TimeScaleOf(const StripShown& shown, StripLayout& layout) {
  layout.pixelTime = layout.frame.span / (layout.plot.Width() - 1);
  layout.aligned = shown.pixelTime > 0.0 && shown.pixelTime == layout.pixelTime;
  layout.firstColumn = layout.aligned ? shown.column : 0;
  return {layout.pixelTime,
          layout.aligned ? static_cast<double>(shown.column) : shown.from / layout.pixelTime,
          layout.plot.left};
}

// The bands, the grid, the time axis and the lines. On a paint of part of the plot only the
// samples that draw there are drawn (see Canvas::PaintedWithin).
StripLines DrawPlot(Canvas& canvas, const std::deque<DecodedSample>& samples, SampleRange range,
                    const StripShown& shown, const std::array<ValueAxis, kUnits.size()>& axes,
                    const PixelTimeScale& time, StripLayout& layout) {
  const PixelBox& plot = layout.plot;
  const PixelBox painted = canvas.PaintedWithin(plot);
  const bool whole = painted == plot;
  // With the samples a pixel or more outside the span, the lines and bands run on to the
  // plot's edges (a sample within half a pixel outside it lies on its edge column).
  const SampleRange all{0, samples.size()};
  const SampleRange around =
      SamplesAround(samples, all, time.Seconds(plot.left - 1), time.Seconds(plot.right));
  // A line's pixel column and the one either side.
  const SampleRange drawn = whole ? around
                                  : SamplesAround(samples, around, time.Seconds(painted.left - 2),
                                                  time.Seconds(painted.right + 2));
  DrawBands(canvas, samples, drawn, time, plot);
  for (const AxisTick& tick : axes[0].ticks) {
    const int y = AxisScale{0.0, axes[0].top, plot.bottom - 1, plot.top}.Pixel(tick.value);
    canvas.FillRectangle({plot.left, y, plot.right, y + 1}, kGrid);
  }
  layout.timeLabelWidth = std::max(DrawTimeAxis(canvas, shown, time, plot),
                                   canvas.MeasureText(WidestTimeLabel(shown)).width);
  layout.newestX = range.Empty() ? plot.left : time.Pixel(samples[range.last - 1].seconds);
  std::array<double, kStripSeriesCount> tops{};
  for (int i = 0; i < kStripSeriesCount; ++i) {
    tops[static_cast<std::size_t>(i)] = axes[UnitIndex(i)].top;
  }
  // About a slice per pixel column: the canvas's width is close enough and never less.
  const int slices = whole ? layout.frame.size.width
                           : layout.frame.size.width * (painted.Width() + 4) / plot.Width() + 1;
  StripLines lines = ThinnedLines(samples, drawn, shown, slices);
  DrawLines(canvas, lines, tops, shown, time, plot);
  return lines;
}

}  // namespace

const std::array<Colour, kStripSeriesCount> kStripSeriesColours{{{0xd0, 0x00, 0x00},
                                                                 {0xff, 0x40, 0x40},
                                                                 {0x90, 0x10, 0x10},
                                                                 {0xff, 0x80, 0x80},  // BA_1 to 4
                                                                 {0x00, 0x80, 0x00},
                                                                 {0x20, 0xb0, 0x20},
                                                                 {0x00, 0x50, 0x00},
                                                                 {0x60, 0xd0, 0x60},  // GAS_1 to 4
                                                                 {0x00, 0x00, 0x00},
                                                                 {0x00, 0x50, 0xff},
                                                                 {0xc0, 0x00, 0xc0},
                                                                 {0xff, 0x80, 0x00},
                                                                 {0xa0, 0xa0, 0x00}}};

std::string_view StripSeriesUnit(int index) {
  const StripSeries& series = kStripSeriesTable[static_cast<std::size_t>(index)];
  switch (series.column) {
    case kRpmColumn:
      return "RPM";
    case kManifoldColumn:
    case kRegulatorColumn:
      return "mBar";
    case kTemperatureColumn:
      return "C";
    case kLambdaColumn:
      return "mV";
    default:
      return "ms";
  }
}

StripFrame StripFrameOf(PixelSize size, const std::deque<DecodedSample>& samples,
                        const StripShown& shown) {
  return FrameIn(size, samples, SamplesIn(samples, shown.from, shown.to), shown);
}

StripLayout DrawStripChart(Canvas& canvas, PixelSize size, const std::deque<DecodedSample>& samples,
                           const StripShown& shown) {
  StripLayout layout;
  canvas.FillRectangle({0, 0, size.width, size.height}, kWhite);
  const int textHeight = canvas.MeasureText("0").height;

  // The legend first: its rows decide how high the plot may be.
  const std::vector<LegendEntry> legend = LegendOf(shown, layout.legendSeries);
  const PixelBox legendArea{kMarginPx, 0, size.width - kMarginPx, 0};
  layout.legendBoxes = LayOutLegend(canvas, legend, legendArea);
  const int legendHeight = LegendHeight(layout.legendBoxes, 0);

  const SampleRange range = SamplesIn(samples, shown.from, shown.to);
  layout.frame = FrameIn(size, samples, range, shown);
  const auto axes = ValueAxes(canvas, layout.frame.axisTops);
  int right = size.width - kMarginPx;
  for (std::size_t unit = kUnits.size() - 1; unit >= 1; --unit) {
    right -= axes[unit].used ? axes[unit].labelWidth + kAxisGapPx : 0;
  }
  right -= TimeUnitRoom(canvas, shown);
  // Above the plot: the units, clear of the top labels' upper halves.
  layout.plot = {kMarginPx + axes[0].labelWidth + kAxisGapPx, kMarginPx + textHeight * 3 / 2 + 2,
                 right, size.height - kMarginPx - legendHeight - kTickPx - textHeight - kMarginPx};
  const PixelBox& plot = layout.plot;
  if (plot.Width() < 2 || plot.Height() < 2) {
    return layout;
  }
  // Clear of the value axes' labels by half their gap; down to half way to the legend.
  layout.moving = {plot.left - kAxisGapPx / 2 + 1, plot.top,
                   plot.right + TimeUnitRoom(canvas, shown) + kAxisGapPx / 4,
                   plot.bottom + kTickPx + textHeight + kMarginPx / 2};
  layout.frameDrawn = PaintsOutside(canvas, size, layout.moving);

  const PixelTimeScale time = TimeScaleOf(shown, layout);
  // Kept to the end: freed here, its blocks would go back to the system before the legend's
  // texts take new ones, on every redraw.
  const StripLines lines = DrawPlot(canvas, samples, range, shown, axes, time, layout);

  canvas.SetPen(kBlack);
  canvas.SetPenStyle(1, LineStyle::Solid);
  canvas.FillRectangle({plot.left - 1, plot.top, plot.left, plot.bottom}, kBlack);
  canvas.FillRectangle({plot.left - 1, plot.bottom, plot.right, plot.bottom + 1}, kBlack);
  canvas.FillRectangle({plot.right, plot.top, plot.right + 1, plot.bottom}, kBlack);

  const int legendTop = size.height - kMarginPx - legendHeight;
  for (PixelBox& box : layout.legendBoxes) {
    box.top += legendTop;
    box.bottom += legendTop;
  }
  if (layout.frameDrawn) {
    DrawValueAxes(canvas, axes, shown, plot);
    DrawLegend(canvas, legend, layout.legendBoxes);
  }
  return layout;
}

std::optional<int> StripSeriesAt(const StripLayout& layout, PixelPoint point) {
  const std::optional<int> entry = LegendEntryAt(layout.legendBoxes, point);
  if (!entry || layout.legendSeries[static_cast<std::size_t>(*entry)] < 0) {
    return std::nullopt;
  }
  return layout.legendSeries[static_cast<std::size_t>(*entry)];
}

}  // namespace zav
