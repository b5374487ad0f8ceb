// The chart module's entry: the Qt Charts hosts of the chart windows, made for the program
// that loaded the module.

#include <QtGlobal>

#include "hosts/qt/chart_module.h"
#include "hosts/qt/qt_chart_windows.h"

extern "C" Q_DECL_EXPORT bool zav_make_chart_hosts(int version,
                                                   const zav::qt::ChartModuleInputs& inputs,
                                                   zav::qt::ChartModuleHosts& hosts) {
  if (version != zav::qt::kChartModuleVersion || inputs.session == nullptr ||
      inputs.controllerSet == nullptr) {
    return false;
  }
  auto charts = std::make_unique<zav::qt::QtChartWindows>(*inputs.session, *inputs.controllerSet,
                                                          inputs.owner);
  zav::qt::QtChartWindows* chartsSeen = charts.get();
  hosts.liveChart = [chartsSeen]() -> QWidget* { return chartsSeen->LiveChart(); };
  hosts.charts = std::move(charts);
  return true;
}
