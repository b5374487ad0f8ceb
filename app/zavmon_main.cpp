// zavmon: the service tool's entry. It builds the Qt desktop and serial device, then runs
// the main window until it is closed; the main window's result is the exit code.

#include <QApplication>
#include <filesystem>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_serial_device.h"
#include "platform/qt/qt_serial_survey.h"
#include "ui/program.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("ZAV Monitor");
  // The main window is a modal dialog; its end, not the last window closing, ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  zav::QtDesktop desktop;
  zav::QtSerialDevice device;
  zav::Program program;
  zav::SetUpProgram(program, desktop, device, std::filesystem::current_path());
  const zav::QtSerialSurvey survey;
  program.survey = &survey;
  return zav::RunMainWindow(program);
}
