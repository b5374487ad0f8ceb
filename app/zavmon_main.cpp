// zavmon: the service tool's entry. It builds the Qt desktop and serial device, then runs
// the main window until it is closed; the main window's result is the exit code.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <filesystem>

#include "hosts/qt/dialog_font.h"
#include "hosts/qt/qt_desktop.h"
#include "hosts/qt_core/qt_serial_device.h"
#include "hosts/qt_core/qt_serial_survey.h"
#include "ui/program.h"
#include "ui/program_windows.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("ZAV Monitor");
  // The main window is a modal dialog; its end, not the last window closing, ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  // The windows' font: the desktop's, or the one ZAVMON_DIALOG_FONT names ("Family,points").
  zav::QtDesktop desktop(zav::qt::ChooseDialogFont(qEnvironmentVariable("ZAVMON_DIALOG_FONT")));
  zav::QtSerialDevice device;
  zav::Program program;
  zav::SetUpProgram(program, desktop, device, std::filesystem::current_path());
  // The chart windows and the Calibrate window: templates and procedures on the desktop,
  // like every other window.
  zav::ProgramWindows windows(program, desktop);
  // The demo script's screenshots show the live chart beside the window (as "Log → Live
  // chart" would open it).
  if (qEnvironmentVariableIsSet("ZAVMON_DEMO_LIVE_CHART")) {
    QTimer::singleShot(1000, [&windows, &desktop] {
      windows.Charts().ShowLiveChart();
      // Moved only: the template's own size leaves every button of its top row whole.
      if (QWidget* chart = desktop.ClientAreaOf(windows.Charts().LiveChart())) {
        chart->window()->move(300, 230);
      }
    });
  }
  const zav::QtSerialSurvey survey;
  program.survey = &survey;
  return zav::RunMainWindow(program);
}
