#include "charts/scatter_chart.h"

#include <algorithm>
#include <span>

#include "charts/chart_legend.h"
#include "charts/chart_style.h"
#include "charts/strip_chart.h"

namespace zav {

namespace {

using chart_style::kAxisGapPx;
using chart_style::kBlack;
using chart_style::kGrid;
using chart_style::kMarginPx;
using chart_style::kTickPx;
using chart_style::kWhite;

constexpr int kOlderMarkPx = 5;   // an older point's mark, across
constexpr int kRecentMarkPx = 8;  // a recent point's mark, across

struct Bounds {
  double low = 0.0;
  double high = 0.0;
};

Bounds Padded(double low, double high, double least) {
  const double pad = std::max((high - low) * 0.1, least);
  return {std::max(low - pad, 0.0), high + pad};
}

// The two axes' ranges, rounded, and the line to draw in value terms.
struct ScatterAxes {
  RoundRange x;
  RoundRange y;
  std::vector<LinePoint> line;  // (petrol ms, y value)
};

ScatterAxes RatioAxes(const std::vector<ScatterPoint>& points, const ScatterShown& shown) {
  double shortest = 100.0;
  double longest = 0.0;
  double low = 10.0;
  double high = 0.0;
  for (const ScatterPoint& point : points) {
    shortest = std::min(shortest, double{point.petrolMs});
    longest = std::max(longest, double{point.petrolMs});
    low = std::min(low, double{point.Ratio()});
    high = std::max(high, double{point.Ratio()});
  }
  const Bounds petrol = points.empty() ? Bounds{0.0, 10.0} : Padded(shortest, longest, 0.2);
  ScatterAxes axes;
  axes.x = RangeTicks(petrol.low, petrol.high);
  if (shown.factors) {
    axes.line = FactorLinePoints(*shown.factors, axes.x.low, axes.x.high);
    for (const LinePoint& corner : axes.line) {
      low = std::min(low, corner.ratio);
      high = std::max(high, corner.ratio);
    }
  }
  const Bounds ratio = high > 0.0 ? Padded(low, high, 0.1) : Bounds{0.0, 3.0};
  axes.y = RangeTicks(ratio.low, ratio.high);
  return axes;
}

ScatterAxes GasAxes(const std::vector<ScatterPoint>& points) {
  double most = 0.0;
  for (const ScatterPoint& point : points) {
    most = std::max({most, double{point.petrolMs}, double{point.gasMs}});
  }
  ScatterAxes axes;
  axes.x = RangeTicks(0.0, points.empty() ? 10.0 : most * 1.1);
  axes.y = axes.x;
  axes.line = {{0.0, 0.0}, {axes.x.high, axes.x.high}};
  return axes;
}

std::vector<LegendEntry> LegendOf(const ScatterShown& shown) {
  std::vector<LegendEntry> entries;
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    entries.push_back({"Cylinder " + std::to_string(cylinder + 1), OlderPointColour(cylinder),
                       false, true, LineStyle::Solid, CylinderMark(cylinder)});
  }
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    entries.push_back({"Cylinder " + std::to_string(cylinder + 1) + ", last 10 s",
                       RecentPointColour(cylinder), false, true, LineStyle::Solid,
                       CylinderMark(cylinder)});
  }
  const bool ratio = shown.plot == ScatterPlot::Ratio;
  entries.push_back({ratio ? (shown.factors ? "Factors in force" : shown.missingFactors) : "1:1",
                     kFactorLineColour, false, true});
  return entries;
}

// One entry under the other, right of the plot: boxes from the top-left of `area`.
std::vector<PixelBox> LegendColumn(Canvas& canvas, std::span<const LegendEntry> entries,
                                   PixelPoint topLeft) {
  // An area no wider than one entry puts each on a row of its own.
  std::vector<PixelBox> boxes =
      LayOutLegend(canvas, entries, {topLeft.x, topLeft.y, topLeft.x, topLeft.y});
  return boxes;
}

int WidestBox(std::span<const PixelBox> boxes) {
  int widest = 0;
  for (const PixelBox& box : boxes) {
    widest = std::max(widest, box.Width());
  }
  return widest;
}

// The marks of one set of points; a mark on a pixel one of its set already took is left out.
void DrawMarks(Canvas& canvas, const std::vector<ScatterPoint>& points, const ScatterLayout& layout,
               ScatterPlot plot, int cylinder, bool recent) {
  const std::size_t stride = recent ? 1 : points.size() / kMostScatterPoints + 1;
  const PixelBox& box = layout.plot;
  std::vector<bool> taken(static_cast<std::size_t>(box.Width() * box.Height()), false);
  canvas.SetPen(recent ? RecentPointColour(cylinder) : OlderPointColour(cylinder));
  for (std::size_t i = 0; i < points.size(); i += 1) {
    const ScatterPoint& point = points[i];
    if (point.cylinder != cylinder || point.recent != recent || (!recent && i % stride != 0)) {
      continue;
    }
    const double y = plot == ScatterPlot::Ratio ? double{point.Ratio()} : double{point.gasMs};
    const PixelPoint at{layout.x.Pixel(point.petrolMs), layout.y.Pixel(y)};
    if (box.Contains(at)) {
      const auto cell = static_cast<std::size_t>((at.y - box.top) * box.Width() + at.x - box.left);
      if (taken[cell]) {
        continue;
      }
      taken[cell] = true;
    }
    DrawMark(canvas, CylinderMark(cylinder), at, recent ? kRecentMarkPx : kOlderMarkPx);
  }
}

void DrawAxes(Canvas& canvas, const ScatterAxes& axes, const ScatterLayout& layout,
              ScatterPlot plot) {
  const PixelBox& box = layout.plot;
  canvas.SetTextColour(kBlack);
  for (const AxisTick& tick : axes.x.ticks) {
    const int x = layout.x.Pixel(tick.value);
    canvas.FillRectangle({x, box.bottom, x + 1, box.bottom + kTickPx}, kBlack);
    canvas.PlacedText({{x, box.bottom + kTickPx}, TextAlign::Centre, TextAlign::Start}, tick.label);
  }
  for (const AxisTick& tick : axes.y.ticks) {
    const int y = layout.y.Pixel(tick.value);
    canvas.FillRectangle({box.left - kTickPx, y, box.left, y + 1}, kBlack);
    canvas.PlacedText({{box.left - kTickPx - 2, y}, TextAlign::End, TextAlign::Centre}, tick.label);
  }
  canvas.FillRectangle({box.left - 1, box.top - 1, box.right + 1, box.top}, kBlack);
  canvas.FillRectangle({box.left - 1, box.bottom, box.right + 1, box.bottom + 1}, kBlack);
  canvas.FillRectangle({box.left - 1, box.top, box.left, box.bottom}, kBlack);
  canvas.FillRectangle({box.right, box.top, box.right + 1, box.bottom}, kBlack);
  const int textHeight = canvas.MeasureText("0").height;
  canvas.PlacedText({{(box.left + box.right) / 2, box.bottom + kTickPx + textHeight + 2},
                     TextAlign::Centre,
                     TextAlign::Start},
                    "Petrol time (ms)");
  // Above the upper half of the top tick's label, which is centred on the plot's top.
  canvas.PlacedText({{kMarginPx, box.top - textHeight / 2 - 2}, TextAlign::Start, TextAlign::End},
                    plot == ScatterPlot::Ratio ? "Gas time / petrol time" : "Gas time (ms)");
}

void DrawGrid(Canvas& canvas, const ScatterAxes& axes, const ScatterLayout& layout) {
  const PixelBox& box = layout.plot;
  for (const AxisTick& tick : axes.x.ticks) {
    const int x = layout.x.Pixel(tick.value);
    canvas.FillRectangle({x, box.top, x + 1, box.bottom}, kGrid);
  }
  for (const AxisTick& tick : axes.y.ticks) {
    const int y = layout.y.Pixel(tick.value);
    canvas.FillRectangle({box.left, y, box.right, y + 1}, kGrid);
  }
}

void DrawLine(Canvas& canvas, const ScatterAxes& axes, const ScatterLayout& layout) {
  std::vector<PixelPoint> pixels;
  for (const LinePoint& point : axes.line) {
    pixels.push_back({layout.x.Pixel(point.petrolMs), layout.y.Pixel(point.ratio)});
  }
  canvas.SetPen(kFactorLineColour);
  canvas.SetPenStyle(2, LineStyle::Solid);
  canvas.Polyline(pixels);
}

}  // namespace

// Paler than the strip chart's greens, but not so pale that the lightest goes white.
Colour OlderPointColour(int cylinder) {
  const Colour strip = kStripSeriesColours[static_cast<std::size_t>(4 + cylinder)];
  const auto paler = [](std::uint8_t part) {
    return static_cast<std::uint8_t>(part + (255 - part) * 3 / 10);
  };
  return {paler(strip.red), paler(strip.green), paler(strip.blue)};
}

Colour RecentPointColour(int cylinder) {
  return {0, 0, static_cast<std::uint8_t>(255 - 40 * cylinder)};
}

MarkShape CylinderMark(int cylinder) {
  return static_cast<MarkShape>(cylinder % kMarkShapeCount);
}

ScatterLayout DrawScatterChart(Canvas& canvas, PixelSize size,
                               const std::vector<ScatterPoint>& points, const ScatterShown& shown) {
  ScatterLayout layout;
  canvas.FillRectangle({0, 0, size.width, size.height}, kWhite);
  const ScatterAxes axes =
      shown.plot == ScatterPlot::Ratio ? RatioAxes(points, shown) : GasAxes(points);
  const std::vector<LegendEntry> legend = LegendOf(shown);
  for (const LegendEntry& entry : legend) {
    layout.legend.push_back(entry.name);
  }
  const int textHeight = canvas.MeasureText("0").height;
  std::vector<PixelBox> boxes = LegendColumn(canvas, legend, {0, 0});
  const int legendWidth = WidestBox(boxes);
  int labelWidth = 0;
  for (const AxisTick& tick : axes.y.ticks) {
    labelWidth = std::max(labelWidth, canvas.MeasureText(tick.label).width);
  }
  // Room above the plot for the value axis's title, clear of its top label's upper half.
  const int top = kMarginPx + textHeight + textHeight / 2 + 4;
  layout.plot = {kMarginPx + labelWidth + kTickPx + 4, top,
                 size.width - kMarginPx - legendWidth - kAxisGapPx,
                 size.height - kMarginPx - 2 * textHeight - kTickPx - 2};
  const PixelBox& box = layout.plot;
  if (box.Width() < 2 || box.Height() < 2) {
    return layout;
  }
  layout.x = {axes.x.low, axes.x.high, box.left, box.right - 1};
  layout.y = {axes.y.low, axes.y.high, box.bottom - 1, box.top};
  DrawGrid(canvas, axes, layout);
  canvas.ClipTo(box);
  canvas.SetPenStyle(2, LineStyle::Solid);
  for (const bool recent : {false, true}) {
    for (int cylinder = 0; cylinder < 4; ++cylinder) {
      DrawMarks(canvas, points, layout, shown.plot, cylinder, recent);
    }
  }
  if (!axes.line.empty()) {
    DrawLine(canvas, axes, layout);
  }
  canvas.Unclip();
  canvas.SetPenStyle(1, LineStyle::Solid);
  DrawAxes(canvas, axes, layout, shown.plot);
  for (PixelBox& entry : boxes) {
    entry.left += box.right + kAxisGapPx;
    entry.right += box.right + kAxisGapPx;
    entry.top += top;
    entry.bottom += top;
  }
  DrawLegend(canvas, legend, boxes);
  return layout;
}

}  // namespace zav
