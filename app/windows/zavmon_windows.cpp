// zavmon.exe: the service tool's entry on Windows. It builds the Windows desktop and serial
// device, then runs the main window until it is closed; the main window's result is the
// exit code.

#include <windows.h>
//
#include <shellapi.h>

#include <filesystem>

#include "hosts/win32/win32_desktop.h"
#include "hosts/win32_core/win32_serial_device.h"
#include "hosts/win32_core/win32_serial_survey.h"
#include "ui/program.h"
#include "ui/program_windows.h"

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
  zav::ProgramWindows windows(program, desktop);
  const zav::Win32SerialSurvey survey;
  program.survey = &survey;
  program.fileToOpen = FileFromCommandLine();
  return zav::RunMainWindow(program);
}
