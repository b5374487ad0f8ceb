#include "hosts/qt/qt_chart_windows.h"

#include <QFileInfo>

#include "hosts/qt/scatter_window.h"
#include "hosts/qt/strip_chart_window.h"

namespace zav::qt {

namespace {

void Raise(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

// A log's samples and factors, kept alive as long as its windows are.
struct LogData : QObject {
  explicit LogData(LogView view) : log(std::move(view)) {}
  LogView log;
};

}  // namespace

std::optional<Factors> FactorsInForce(const ControllerSet& controllerSet) {
  if (!HasControllerSet(controllerSet)) {
    return std::nullopt;
  }
  return FactorsOf(controllerSet.words);
}

QtChartWindows::QtChartWindows(const SessionStore& session, const ControllerSet& controllerSet,
                               std::function<QWidget*()> owner)
    : session_(session), controllerSet_(controllerSet), owner_(std::move(owner)) {}

QtChartWindows::~QtChartWindows() {
  delete liveChart_.data();
  delete liveScatter_.data();
  for (const QPointer<QWidget>& window : logWindows_) {
    delete window.data();
  }
}

void QtChartWindows::ShowLiveChart() {
  if (!liveChart_) {
    liveChart_ = new StripChartWindow(session_.samples, true, owner_ ? owner_() : nullptr);
    liveChart_->setWindowTitle(QStringLiteral("Live chart"));
    liveChart_->showScatter = [this] { ShowLiveScatter(); };
  }
  Raise(*liveChart_);
  liveChart_->Refresh();
}

void QtChartWindows::ShowLiveScatter() {
  if (!liveScatter_) {
    liveScatter_ = new ScatterWindow(
        session_.samples, [this] { return FactorsInForce(controllerSet_); }, kLiveScatterSeconds,
        owner_ ? owner_() : nullptr);
    liveScatter_->setWindowTitle(QStringLiteral("Petrol against gas"));
  }
  Raise(*liveScatter_);
  liveScatter_->Refresh();
}

void QtChartWindows::SessionChanged() {
  if (liveChart_ && liveChart_->isVisible()) {
    liveChart_->Refresh();
  }
  // The scatter redraws once a second: it shows minutes of points, not a moving strip.
  const double newest = session_.samples.empty() ? 0.0 : session_.samples.back().seconds;
  if (liveScatter_ && liveScatter_->isVisible() && newest - scatterDrawnUpTo_ >= 1.0) {
    liveScatter_->Refresh();
    scatterDrawnUpTo_ = newest;
  }
}

void QtChartWindows::ShowLog(LogView view) {
  const QString name = QFileInfo(QString::fromStdString(view.path.string())).fileName();
  // The log's data lives as long as its windows: a child object of the strip chart window.
  auto* data = new LogData(std::move(view));
  auto* window = new StripChartWindow(data->log.samples, false, owner_ ? owner_() : nullptr);
  data->setParent(window);
  window->setWindowTitle(name);
  window->showScatter = [window, data, name] {
    const std::optional<Factors> factors = data->log.factors;
    auto* scatter = new ScatterWindow(
        data->log.samples, [factors] { return factors; }, 0.0, window);
    scatter->setWindowTitle(name + QStringLiteral(" \u2013 petrol against gas"));
    scatter->SetMissingFactorsText(QStringLiteral("Factors: no parameter file beside the log"));
    scatter->Refresh();
    Raise(*scatter);
  };
  logWindows_.emplace_back(window);
  Raise(*window);
}

}  // namespace zav::qt
