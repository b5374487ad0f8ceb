#pragma once
// The chart windows as the window program holds them: stand-ins that load the chart module
// the first time a window is to open and pass every call on from then. Until then the session's new
// samples go nowhere, as no window can be showing them, and Qt Charts is not mapped.

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosts/qt/chart_module.h"

class QLibrary;

namespace zav::qt {

class ChartModuleLoader {
 public:
  // `folders`: where to look for the module, in order. `tellFailure` tells the fitter why a
  // window did not open (once for each attempt).
  ChartModuleLoader(ChartModuleInputs inputs, std::vector<QString> folders,
                    std::function<void(const std::string&)> tellFailure);
  ~ChartModuleLoader();

  // The hosts, the module loaded on the first call; null when it cannot be loaded.
  ChartModuleHosts* Hosts();
  bool Loaded() const { return hosts_.charts != nullptr; }

 private:
  // Loads the module from the first folder that has a usable one; the reasons otherwise.
  bool Load(std::string& reasons);

  ChartModuleInputs inputs_;
  std::vector<QString> folders_;
  std::function<void(const std::string&)> tellFailure_;
  // Never unloaded: its windows and their code live as long as the program.
  std::unique_ptr<QLibrary> library_;
  ChartModuleHosts hosts_;
};

class LazyChartWindows : public ChartWindows {
 public:
  explicit LazyChartWindows(ChartModuleLoader& loader) : loader_(loader) {}

  void ShowLiveChart() override;
  void ShowLiveScatter() override;
  void SessionChanged() override;
  void ShowLog(LogView log) override;

  // The live chart's window; null while it is closed.
  QWidget* LiveChart();

 private:
  ChartModuleLoader& loader_;
};

// What the fitter reads when the module did not load: what is missing and what to do.
std::string ChartModuleFailureText(const std::string& reasons);

}  // namespace zav::qt
