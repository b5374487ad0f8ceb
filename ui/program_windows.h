#pragma once
// The chart windows and the Calibrate window as every window program holds them: drawn on
// the program's desktop, fed from its session store and the parameter set the controller
// confirmed, owned by the main window. Made after SetUpProgram and kept while the main
// window runs; it hooks itself into the program.

#include "calibrate_window/calibrate_window_host.h"
#include "charts/desktop_chart_windows.h"
#include "platform/desktop.h"
#include "ui/program.h"

namespace zav {

class ProgramWindows {
 public:
  ProgramWindows(Program& program, Desktop& desktop);
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  DesktopChartWindows& Charts() { return charts_; }

 private:
  DesktopChartWindows charts_;
  CalibrateWindowHost calibration_;
};

}  // namespace zav
