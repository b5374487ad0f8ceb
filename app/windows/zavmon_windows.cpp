// zavmon.exe: the service tool's entry on Windows. It builds the Windows desktop and serial
// device, then runs the main window until it is closed; the main window's result is the
// exit code.

#include <windows.h>
//
#include <shellapi.h>

#include <filesystem>

#include "calibrate_window/calibrate_window_host.h"
#include "charts/desktop_chart_windows.h"
#include "hosts/win32/win32_desktop.h"
#include "hosts/win32_core/win32_serial_device.h"
#include "hosts/win32_core/win32_serial_survey.h"
#include "ui/program.h"

namespace {

// The file named on the command line: a .car opened from the file manager; empty: none.
std::filesystem::path FileFromCommandLine() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::filesystem::path file;
  if (arguments != nullptr && count > 1) {
    file = std::filesystem::absolute(arguments[1]);
  }
  LocalFree(arguments);
  return file;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  zav::Win32Desktop desktop;
  zav::Win32SerialDevice device;
  zav::Program program;
  zav::SetUpProgram(program, desktop, device, std::filesystem::current_path());
  zav::DesktopChartWindows charts({&desktop, &program.dataLog.session,
                                   &program.parameters.confirmedSet,
                                   [&program] { return program.link.mainWindow; },
                                   [&program] {
                                     const auto& unixMs = program.dataLog.source.clock.unixMs;
                                     return unixMs ? unixMs() : std::int64_t{0};
                                   }});
  program.dataLog.charts = &charts;
  zav::CalibrateWindowHost calibration(desktop, [&program] { return program.link.mainWindow; });
  program.calibration = &calibration;
  const zav::Win32SerialSurvey survey;
  program.survey = &survey;
  program.fileToOpen = FileFromCommandLine();
  return zav::RunMainWindow(program);
}
