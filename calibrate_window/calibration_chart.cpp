#include "calibrate_window/calibration_chart.h"

#include <algorithm>
#include <string>
#include <vector>

#include "charts/chart_axis.h"
#include "charts/chart_legend.h"
#include "charts/chart_style.h"
#include "datalog/factor_line.h"

namespace zav {

namespace {

using chart_style::kAxisGapPx;
using chart_style::kBlack;
using chart_style::kGrid;
using chart_style::kMarginPx;
using chart_style::kTickPx;
using chart_style::kWhite;

constexpr int kMarkPx = 7;         // a cell's mark, square
constexpr int kLineWidthPx = 2;    // the factors' lines
constexpr int kTickRoomPx = 60;    // a tick per this much width or height at most
constexpr double kPadMs = 0.5;     // either side of the cells
constexpr double kPadRatio = 0.1;  // above and below cells and lines

constexpr std::string_view kPetrolAxisTitle = "Petrol time on petrol (ms)";
constexpr std::string_view kRatioAxisTitle = "Gas/petrol ratio";

// A calibrated car, or a fit that moves no trackbar, keeps its factors: nothing is proposed,
// so no second line lies over the one in force and the legend names none.
bool ProposesALine(const Calibration& calibration) {
  return calibration.proposal && !calibration.calibrated && calibration.proposal->Changes();
}

std::vector<LegendEntry> Legend(const Calibration& calibration) {
  std::vector<LegendEntry> legend{{"Too few samples", kLeftOutColour, true, true, LineStyle::Solid},
                                  {"Needed", kNeededColour, true, true, LineStyle::Solid},
                                  {"In force", kInForceColour, false, true, LineStyle::Dashed}};
  if (ProposesALine(calibration)) {
    legend.push_back({"Proposed", kProposedColour, false, true, LineStyle::Solid});
  }
  return legend;
}

struct Scales {
  AxisScale ms;
  AxisScale ratio;
};

void DrawAxes(Canvas& canvas, const CalibrationChartRange& range, const Scales& scales,
              const PixelBox& plot) {
  canvas.SetTextColour(kBlack);
  const int across = std::max(plot.Width() / kTickRoomPx, 2);
  for (const AxisTick& tick : TicksWithin(range.fromMs, range.toMs, across)) {
    const int x = scales.ms.Pixel(tick.value);
    canvas.FillRectangle({x, plot.top, x + 1, plot.bottom}, kGrid);
    canvas.FillRectangle({x, plot.bottom, x + 1, plot.bottom + kTickPx}, kBlack);
    canvas.PlacedText({{x, plot.bottom + kTickPx}, TextAlign::Centre, TextAlign::Start},
                      tick.label);
  }
  const int down = std::max(plot.Height() / kTickRoomPx, 2);
  for (const AxisTick& tick : TicksWithin(range.lowRatio, range.highRatio, down)) {
    const int y = scales.ratio.Pixel(tick.value);
    canvas.FillRectangle({plot.left, y, plot.right, y + 1}, kGrid);
    canvas.PlacedText({{plot.left - kAxisGapPx / 2, y}, TextAlign::End, TextAlign::Centre},
                      tick.label);
  }
  canvas.FillRectangle({plot.left - 1, plot.top, plot.left, plot.bottom + 1}, kBlack);
  canvas.FillRectangle({plot.left - 1, plot.bottom, plot.right, plot.bottom + 1}, kBlack);
  const int textHeight = canvas.MeasureText("0").height;
  canvas.PlacedText({{(plot.left + plot.right) / 2, plot.bottom + kTickPx + textHeight + 2},
                     TextAlign::Centre,
                     TextAlign::Start},
                    kPetrolAxisTitle);
  canvas.PlacedText({{kMarginPx, plot.top - 2}, TextAlign::Start, TextAlign::End}, kRatioAxisTitle);
}

void DrawCells(Canvas& canvas, const Calibration& calibration, const Scales& scales) {
  // The cells left out first, so that the ones in the fit are drawn over them.
  for (const bool covered : {false, true}) {
    for (const LoadCell& cell : calibration.cells) {
      if (cell.Covered() != covered) {
        continue;
      }
      const int x = scales.ms.Pixel(cell.petrolMs);
      const int y = scales.ratio.Pixel(cell.NeededRatio());
      canvas.FillRectangle(
          {x - kMarkPx / 2, y - kMarkPx / 2, x + kMarkPx / 2 + 1, y + kMarkPx / 2 + 1},
          covered ? kNeededColour : kLeftOutColour);
    }
  }
}

void DrawFactors(Canvas& canvas, Factors factors, Colour colour, LineStyle style,
                 const CalibrationChartRange& range, const Scales& scales) {
  std::vector<PixelPoint> points;
  for (const LinePoint& corner : FactorLinePoints(factors, range.fromMs, range.toMs)) {
    points.push_back({scales.ms.Pixel(corner.petrolMs), scales.ratio.Pixel(corner.ratio)});
  }
  canvas.SetPen(colour);
  canvas.SetPenStyle(kLineWidthPx, style);
  canvas.Polyline(points);
}

}  // namespace

CalibrationChartRange ChartRangeOf(const Calibration& calibration) {
  CalibrationChartRange range{10.0, 0.0, 3.0, 0.0};
  for (const LoadCell& cell : calibration.cells) {
    range.fromMs = std::min(range.fromMs, cell.petrolMs);
    range.toMs = std::max(range.toMs, cell.petrolMs);
    range.lowRatio = std::min(range.lowRatio, cell.NeededRatio());
    range.highRatio = std::max(range.highRatio, cell.NeededRatio());
  }
  if (range.toMs < range.fromMs) {
    range = {2.0, 8.0, 1.0, 2.5};
  }
  range.fromMs = std::max(range.fromMs - kPadMs, 0.0);
  range.toMs += kPadMs;
  if (const std::optional<Proposal>& proposal = calibration.proposal) {
    for (const Factors factors : {proposal->currentFactors, proposal->proposedFactors}) {
      for (const LinePoint& point : FactorLinePoints(factors, range.fromMs, range.toMs)) {
        range.lowRatio = std::min(range.lowRatio, point.ratio);
        range.highRatio = std::max(range.highRatio, point.ratio);
      }
    }
  }
  range.lowRatio = std::max(range.lowRatio - kPadRatio, 0.0);
  range.highRatio += kPadRatio;
  return range;
}

PixelBox DrawCalibrationChart(Canvas& canvas, PixelSize size, const Calibration& calibration) {
  canvas.FillRectangle({0, 0, size.width, size.height}, kWhite);
  const int textHeight = canvas.MeasureText("0").height;
  const std::vector<LegendEntry> legend = Legend(calibration);
  std::vector<PixelBox> legendBoxes =
      LayOutLegend(canvas, legend, {kMarginPx, 0, size.width - kMarginPx, 0});
  const int legendHeight = LegendHeight(legendBoxes, 0);

  const CalibrationChartRange range = ChartRangeOf(calibration);
  int labelWidth = 0;
  for (const AxisTick& tick : TicksWithin(range.lowRatio, range.highRatio, 10)) {
    labelWidth = std::max(labelWidth, canvas.MeasureText(tick.label).width);
  }
  const PixelBox plot{
      kMarginPx + labelWidth + kAxisGapPx, kMarginPx + textHeight + 4,
      size.width - kMarginPx - canvas.MeasureText("00.0").width / 2,
      size.height - kMarginPx - legendHeight - kMarginPx - 2 * textHeight - kTickPx - 2};
  if (plot.Width() < 2 || plot.Height() < 2) {
    return plot;
  }
  const Scales scales{{range.fromMs, range.toMs, plot.left, plot.right - 1},
                      {range.lowRatio, range.highRatio, plot.bottom - 1, plot.top}};
  DrawAxes(canvas, range, scales, plot);
  canvas.ClipTo(plot);
  DrawCells(canvas, calibration, scales);
  if (const std::optional<Proposal>& proposal = calibration.proposal) {
    DrawFactors(canvas, proposal->currentFactors, kInForceColour, LineStyle::Dashed, range, scales);
    if (ProposesALine(calibration)) {
      DrawFactors(canvas, proposal->proposedFactors, kProposedColour, LineStyle::Solid, range,
                  scales);
    }
  }
  canvas.Unclip();
  canvas.SetPenStyle(1, LineStyle::Solid);

  const int legendTop = size.height - kMarginPx - legendHeight;
  for (PixelBox& box : legendBoxes) {
    box.top += legendTop;
    box.bottom += legendTop;
  }
  DrawLegend(canvas, legend, legendBoxes);
  return plot;
}

}  // namespace zav
