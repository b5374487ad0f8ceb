// zavmon: the service tool's entry. It builds the Qt desktop and serial device, then runs
// the main window until it is closed; the main window's result is the exit code.

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <filesystem>

#include "calibrate_window/calibrate_window_host.h"
#include "hosts/qt/dialog_font.h"
#include "hosts/qt/lazy_chart_hosts.h"
#include "hosts/qt/qt_desktop.h"
#include "hosts/qt_core/qt_serial_device.h"
#include "hosts/qt_core/qt_serial_survey.h"
#include "ui/program.h"

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
  const auto mainWindowWidget = [&]() -> QWidget* {
    QWidget* client = desktop.ClientAreaOf(program.link.mainWindow);
    return client != nullptr ? client->window() : nullptr;
  };
  // The chart windows load their module (and Qt Charts) when the first of them opens: beside the
  // program in the build tree, or where it is installed.
  const QString programFolder = QCoreApplication::applicationDirPath();
  zav::qt::ChartModuleLoader chartModule(
      {&program.dataLog.session, &program.parameters.confirmedSet, mainWindowWidget},
      {programFolder, QDir::cleanPath(programFolder + "/" ZAV_CHART_MODULE_FROM_PROGRAM)},
      [&](const std::string& text) {
        desktop.ShowMessage(program.link.mainWindow, text, "ZAV Monitor", zav::MessageButtons::Ok,
                            zav::MessageIcon::Error);
      });
  zav::qt::LazyChartWindows charts(chartModule);
  program.dataLog.charts = &charts;
  // The Calibrate window is a template drawn by the desktop, as on every host.
  zav::CalibrateWindowHost calibration(desktop, [&program] { return program.link.mainWindow; });
  program.calibration = &calibration;
  // The demo script's screenshots show the live chart beside the window (as "Log → Live
  // chart" would open it).
  if (qEnvironmentVariableIsSet("ZAVMON_DEMO_LIVE_CHART")) {
    QTimer::singleShot(1000, [&charts] {
      charts.ShowLiveChart();
      if (QWidget* chart = charts.LiveChart()) {
        chart->setGeometry(300, 230, 720, 400);
      }
    });
  }
  const zav::QtSerialSurvey survey;
  program.survey = &survey;
  return zav::RunMainWindow(program);
}
