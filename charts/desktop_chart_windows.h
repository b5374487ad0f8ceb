#pragma once
// The chart windows on any desktop: the live chart and the live "Petrol against gas" of the
// session, and a log's chart with its own "Petrol against gas". They are not modal: the
// main window's loop delivers their events, a tick never waits on them, and a window asked
// for while open is raised rather than opened twice.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "charts/scatter_window.h"
#include "charts/strip_chart_window.h"
#include "datalog/chart_windows.h"
#include "datalog/session_store.h"
#include "params/controller_set.h"

namespace zav {

inline constexpr double kLiveScatterSeconds = 120.0;  // the live scatter's last 2 min
inline constexpr double kScatterRedrawSeconds = 1.0;  // of new samples between its redraws

struct ChartWindowsInputs {
  Desktop* desktop = nullptr;
  const SessionStore* session = nullptr;
  const ControllerSet* controllerSet = nullptr;  // the factors in force
  std::function<WindowRef()> owner;              // the main window when a window opens
  std::function<std::int64_t()> unixMs;          // the wall clock, for picture names
};

class DesktopChartWindows : public ChartWindows {
 public:
  explicit DesktopChartWindows(ChartWindowsInputs inputs) : inputs_(std::move(inputs)) {}

  void ShowLiveChart() override;
  void ShowLiveScatter() override;
  void SessionChanged() override;
  void ShowLog(LogView log) override;

  // The live windows; WindowRef{} while closed.
  WindowRef LiveChart() const;
  WindowRef LiveScatter() const;
  // The logs' chart windows still open, oldest first.
  std::vector<std::shared_ptr<const StripChartWindow>> LogCharts() const;

 private:
  WindowRef Owner() const { return inputs_.owner ? inputs_.owner() : WindowRef{}; }

  ChartWindowsInputs inputs_;
  std::shared_ptr<StripChartWindow> liveChart_;
  std::shared_ptr<ScatterWindow> liveScatter_;
  std::vector<std::weak_ptr<StripChartWindow>> logCharts_;  // held by their windows
  double scatterDrawnUpTo_ = -1.0;  // the newest sample's time when the scatter was drawn (s)
};

// The factors in force: registers 87 to 89 of the set the controller confirmed; none before
// it is known.
std::optional<Factors> FactorsInForce(const ControllerSet& controllerSet);

}  // namespace zav
