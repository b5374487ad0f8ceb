#pragma once
// A "Petrol against gas" window (template 3400): the session's samples, or a log's. The
// list chooses the plot ("Gas/petrol ratio" or "Gas against petrol"); "Save as PNG…" saves
// the chart shown under a caption naming the window and the plot, its legend beside it;
// Escape or the close box closes. The live window shows the newest samples only and is
// redrawn when asked (see RefreshScatter).

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "charts/scatter_chart.h"
#include "platform/desktop.h"

namespace zav {

struct ScatterInputs {
  const std::deque<DecodedSample>* samples = nullptr;  // outlives the window
  std::function<std::optional<Factors>()> factors;     // the factors in force; none: no line
  double recentSpan = 0.0;  // s: only the newest this many seconds; 0: every sample
  std::string title = "Petrol against gas";
  std::string missingFactors = "Factors in force: not read yet";
  std::function<std::int64_t()> unixMs;  // the wall clock, for picture names
  std::function<void()> closed;          // after the window closed
};

struct ScatterWindow {
  ScatterInputs inputs;
  WindowRef window;
  bool open = false;
  ScatterPlot plot = ScatterPlot::Ratio;
  ScatterLayout layout;  // as last drawn
};

WindowRef OpenScatter(Desktop& desktop, WindowRef owner,
                      const std::shared_ptr<ScatterWindow>& scatter);

// The samples or the factors changed: an open window draws them again.
void RefreshScatter(Desktop& desktop, ScatterWindow& scatter);

// The points the window shows now.
std::vector<ScatterPoint> PointsShown(const ScatterWindow& scatter);

}  // namespace zav
