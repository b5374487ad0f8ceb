#pragma once
// Petrol against gas: tab "Gas/petrol ratio" plots the ratio against the petrol time per
// cylinder with the factors' line of the Parameters dialog's chart; tab "Gas against petrol"
// plots the gas time against the petrol time with the 1:1 line. The samples of the last
// 10 s stand out from the older ones.

#include <QWidget>
#include <array>
#include <deque>
#include <functional>
#include <optional>

#include "datalog/factor_line.h"

class QChartView;
class QLineSeries;
class QScatterSeries;
class QTabWidget;
class QValueAxis;

namespace zav::qt {

// One of the two plots.
struct ScatterPlot {
  QChartView* view = nullptr;
  std::array<QScatterSeries*, 4> older{};
  std::array<QScatterSeries*, 4> recent{};
  QLineSeries* line = nullptr;  // the factors' line, or 1:1
  QValueAxis* x = nullptr;
  QValueAxis* y = nullptr;
};

class ScatterWindow : public QWidget {
 public:
  // `samples` must outlive the window; `factors` gives the factors in force (none: no line).
  // `recentSpan`: the live view shows the last this many seconds (0: all samples).
  ScatterWindow(const std::deque<DecodedSample>& samples,
                std::function<std::optional<Factors>()> factors, double recentSpan, QWidget* owner);

  void Refresh();
  const ScatterPlot& RatioPlot() const { return ratio_; }
  const ScatterPlot& GasPlot() const { return gas_; }
  QTabWidget& Tabs() const { return *tabs_; }

 private:
  const std::deque<DecodedSample>& samples_;
  std::function<std::optional<Factors>()> factors_;
  double span_ = 0.0;
  QTabWidget* tabs_ = nullptr;
  ScatterPlot ratio_;
  ScatterPlot gas_;
};

}  // namespace zav::qt
