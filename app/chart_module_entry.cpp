// The chart module's entry: the Qt Charts host of the Calibrate window, made for the program
// that loaded the module.

#include <QtGlobal>

#include "hosts/qt/chart_module.h"
#include "hosts/qt/qt_calibration_host.h"

extern "C" Q_DECL_EXPORT bool zav_make_chart_hosts(int version,
                                                   const zav::qt::ChartModuleInputs& inputs,
                                                   zav::qt::ChartModuleHosts& hosts) {
  if (version != zav::qt::kChartModuleVersion || inputs.session == nullptr ||
      inputs.controllerSet == nullptr) {
    return false;
  }
  hosts.calibration = std::make_unique<zav::qt::QtCalibrationHost>(inputs.owner);
  return true;
}
