#include "hosts/qt/lazy_chart_hosts.h"

#include <QDir>
#include <QLibrary>

namespace zav::qt {

ChartModuleLoader::ChartModuleLoader(ChartModuleInputs inputs, std::vector<QString> folders,
                                     std::function<void(const std::string&)> tellFailure)
    : inputs_(std::move(inputs)),
      folders_(std::move(folders)),
      tellFailure_(std::move(tellFailure)) {}

// The hosts go first: their windows' code is the module's.
ChartModuleLoader::~ChartModuleLoader() {
  hosts_.charts.reset();
}

ChartModuleHosts* ChartModuleLoader::Hosts() {
  if (Loaded()) {
    return &hosts_;
  }
  std::string reasons;
  if (Load(reasons)) {
    return &hosts_;
  }
  if (tellFailure_) {
    tellFailure_(ChartModuleFailureText(reasons));
  }
  return nullptr;
}

bool ChartModuleLoader::Load(std::string& reasons) {
  for (const QString& folder : folders_) {
    auto library = std::make_unique<QLibrary>(QDir(folder).filePath(kChartModuleName));
    if (!library->load()) {
      reasons += library->errorString().toStdString() + "\n";
      continue;
    }
    auto make = reinterpret_cast<MakeChartHosts>(library->resolve(kChartModuleEntry));
    ChartModuleHosts made;
    if (make == nullptr || !make(kChartModuleVersion, inputs_, made) || made.charts == nullptr) {
      reasons += library->fileName().toStdString() + ": made for another build of the program\n";
      continue;
    }
    hosts_ = std::move(made);
    library_ = std::move(library);
    return true;
  }
  return false;
}

std::string ChartModuleFailureText(const std::string& reasons) {
  return "The chart windows cannot open: their part of the "
         "program, " +
         std::string(kChartModuleName) + ", did not load.\n\n" + reasons +
         "\nThey need Qt Charts (on Debian: sudo apt install libqt6charts6) and " +
         kChartModuleName +
         " as installed with ZAV Monitor (beside zavmon, or in lib/zavmon). Installing "
         "ZAV Monitor's package again brings both. Everything else works as before.";
}

void LazyChartWindows::ShowLiveChart() {
  if (ChartModuleHosts* hosts = loader_.Hosts()) {
    hosts->charts->ShowLiveChart();
  }
}

void LazyChartWindows::ShowLiveScatter() {
  if (ChartModuleHosts* hosts = loader_.Hosts()) {
    hosts->charts->ShowLiveScatter();
  }
}

// Only windows that are open redraw, and none can be before the module is loaded.
void LazyChartWindows::SessionChanged() {
  if (loader_.Loaded()) {
    loader_.Hosts()->charts->SessionChanged();
  }
}

void LazyChartWindows::ShowLog(LogView log) {
  if (ChartModuleHosts* hosts = loader_.Hosts()) {
    hosts->charts->ShowLog(std::move(log));
  }
}

QWidget* LazyChartWindows::LiveChart() {
  return loader_.Loaded() ? loader_.Hosts()->liveChart() : nullptr;
}

}  // namespace zav::qt
