#pragma once
// "Petrol against gas" drawn on any canvas. One plot at a time: the gas/petrol ratio against
// the petrol time with the factors' line in force (drawn by the controller's one model of the
// line, across the petrol times in view), or the gas time against the petrol time with the
// 1:1 line. A mark per cylinder, the same shape for older points and for those of the last
// 10 s, which stand out in blue; the legend beside the plot names each set and the line.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "charts/chart_axis.h"
#include "charts/chart_marks.h"
#include "datalog/factor_line.h"
#include "platform/canvas.h"

namespace zav {

enum class ScatterPlot { Ratio, Gas };

struct ScatterShown {
  ScatterPlot plot = ScatterPlot::Ratio;
  std::optional<Factors> factors;  // none: no line, and its legend entry says why
  std::string missingFactors = "Factors in force: not read yet";
};

// Where the chart was drawn and how values map to its pixels.
struct ScatterLayout {
  PixelBox plot;
  AxisScale x;                      // petrol time (ms)
  AxisScale y;                      // gas/petrol ratio, or gas time (ms)
  std::vector<std::string> legend;  // the legend's names, top to bottom
};

inline constexpr Colour kFactorLineColour{0, 160, 0};
// A cylinder's colour (0 to 3), for its older points and for those of the last 10 s.
Colour OlderPointColour(int cylinder);
Colour RecentPointColour(int cylinder);
MarkShape CylinderMark(int cylinder);

// Points beyond this many in one plot are thinned evenly (a whole log of hours); the
// recent ones never.
inline constexpr std::size_t kMostScatterPoints = 40'000;

ScatterLayout DrawScatterChart(Canvas& canvas, PixelSize size,
                               const std::vector<ScatterPoint>& points, const ScatterShown& shown);

}  // namespace zav
