#include "charts/desktop_chart_windows.h"

#include "params/set_factors.h"
#include "platform/files/path_text.h"

namespace zav {

namespace {

// A log's samples and factors, kept alive as long as one of its windows is.
struct LogData {
  LogView log;
  std::weak_ptr<ScatterWindow> scatter;  // the log's "Petrol against gas", while open
};

// The log's "Petrol against gas", owned by its chart window; raised when already open.
void ShowLogScatter(Desktop& desktop, const std::shared_ptr<LogData>& charts, WindowRef owner,
                    const std::string& name, const std::function<std::int64_t()>& unixMs) {
  if (const std::shared_ptr<ScatterWindow> open = charts->scatter.lock(); open && open->open) {
    desktop.RaiseWindow(open->window);
    return;
  }
  auto scatter = std::make_shared<ScatterWindow>();
  scatter->inputs.samples = &charts->log.samples;
  scatter->inputs.factors = [charts] { return charts->log.factors; };
  scatter->inputs.title = name + " \u2013 petrol against gas";
  scatter->inputs.missingFactors = "Factors: no parameter file beside the log";
  scatter->inputs.unixMs = unixMs;
  charts->scatter = scatter;
  OpenScatter(desktop, owner, scatter);
}

}  // namespace

std::optional<Factors> FactorsInForce(const ControllerSet& controllerSet) {
  if (!HasControllerSet(controllerSet)) {
    return std::nullopt;
  }
  return FactorsOf(controllerSet.words);
}

void DesktopChartWindows::ShowLiveChart() {
  Desktop& desktop = *inputs_.desktop;
  if (liveChart_ && liveChart_->open) {
    desktop.RaiseWindow(liveChart_->window);
    RefreshStripChart(desktop, *liveChart_);
    return;
  }
  liveChart_ = std::make_shared<StripChartWindow>();
  liveChart_->inputs.samples = &inputs_.session->samples;
  liveChart_->inputs.live = true;
  liveChart_->inputs.title = "Live chart";
  liveChart_->inputs.showScatter = [this] { ShowLiveScatter(); };
  liveChart_->inputs.unixMs = inputs_.unixMs;
  OpenStripChart(desktop, Owner(), liveChart_);
}

void DesktopChartWindows::ShowLiveScatter() {
  Desktop& desktop = *inputs_.desktop;
  if (liveScatter_ && liveScatter_->open) {
    desktop.RaiseWindow(liveScatter_->window);
    RefreshScatter(desktop, *liveScatter_);
    return;
  }
  liveScatter_ = std::make_shared<ScatterWindow>();
  liveScatter_->inputs.samples = &inputs_.session->samples;
  liveScatter_->inputs.factors = [set = inputs_.controllerSet] { return FactorsInForce(*set); };
  liveScatter_->inputs.recentSpan = kLiveScatterSeconds;
  liveScatter_->inputs.unixMs = inputs_.unixMs;
  OpenScatter(desktop, Owner(), liveScatter_);
}

void DesktopChartWindows::SessionChanged() {
  Desktop& desktop = *inputs_.desktop;
  if (liveChart_ && liveChart_->open) {
    RefreshStripChart(desktop, *liveChart_);
  }
  // The scatter redraws once a second: it shows minutes of points, not a moving strip.
  const std::deque<DecodedSample>& samples = inputs_.session->samples;
  const double newest = samples.empty() ? 0.0 : samples.back().seconds;
  if (liveScatter_ && liveScatter_->open && newest - scatterDrawnUpTo_ >= kScatterRedrawSeconds) {
    RefreshScatter(desktop, *liveScatter_);
    scatterDrawnUpTo_ = newest;
  }
}

void DesktopChartWindows::ShowLog(LogView log) {
  Desktop* desktop = inputs_.desktop;
  const std::string name = Utf8FromPath(log.path.filename());
  auto charts = std::make_shared<LogData>(LogData{std::move(log), {}});
  auto chart = std::make_shared<StripChartWindow>();
  chart->inputs.samples = &charts->log.samples;
  chart->inputs.live = false;
  chart->inputs.title = name;
  chart->inputs.unixMs = inputs_.unixMs;
  // The chart's own state holds the log (through this closure) as long as the window lives.
  chart->inputs.showScatter = [desktop, charts, seen = std::weak_ptr<StripChartWindow>(chart), name,
                               unixMs = inputs_.unixMs] {
    const std::shared_ptr<StripChartWindow> owner = seen.lock();
    ShowLogScatter(*desktop, charts, owner ? owner->window : WindowRef{}, name, unixMs);
  };
  std::erase_if(logCharts_, [](const std::weak_ptr<StripChartWindow>& seen) {
    const std::shared_ptr<StripChartWindow> open = seen.lock();
    return !open || !open->open;
  });
  logCharts_.push_back(chart);
  OpenStripChart(*desktop, Owner(), chart);
}

WindowRef DesktopChartWindows::LiveChart() const {
  return liveChart_ && liveChart_->open ? liveChart_->window : WindowRef{};
}

WindowRef DesktopChartWindows::LiveScatter() const {
  return liveScatter_ && liveScatter_->open ? liveScatter_->window : WindowRef{};
}

std::vector<std::shared_ptr<const StripChartWindow>> DesktopChartWindows::LogCharts() const {
  std::vector<std::shared_ptr<const StripChartWindow>> open;
  for (const std::weak_ptr<StripChartWindow>& seen : logCharts_) {
    if (const std::shared_ptr<StripChartWindow> chart = seen.lock(); chart && chart->open) {
      open.push_back(chart);
    }
  }
  return open;
}

}  // namespace zav
