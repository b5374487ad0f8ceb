// The data log's costs, measured (not a test):
//   datalog_bench poll SECONDS [chart|record|both]
//                                        the program polling COM1 (ZAVMON_COM1) for SECONDS,
//                                        with the live chart open, a recording running, or
//                                        both. Prints the process's CPU time (ms) over
//                                        SECONDS after the first 5 s, and its resident
//                                        memory at the end.
//   datalog_bench open-log [ROWS]        writes a log of ROWS samples (24,000: one hour),
//                                        then times reading it and showing it in a playback
//                                        window, drawn once.
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.

#include <sys/resource.h>

#include <QApplication>
#include <QFontMetrics>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "charts/desktop_chart_windows.h"
#include "datalog/csv_log_reader.h"
#include "datalog/csv_log_writer.h"
#include "hosts/qt/qt_desktop.h"
#include "hosts/qt_core/qt_serial_device.h"
#include "ui/program.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(const timeval& time) {
  return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

// The process's CPU time so far (ms), user and system together.
double CpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return Ms(usage.ru_utime) + Ms(usage.ru_stime);
}

// The part of it spent in the kernel (ms).
double SystemCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return Ms(usage.ru_stime);
}

// The process's resident memory (KiB), from /proc; 0 where there is none.
long ResidentKiB() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) {
    return 0;
  }
  char line[256];
  long kib = 0;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1) {
      break;
    }
  }
  std::fclose(status);
  return kib;
}

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// `chart`: the live chart open; `record`: a recording running.
int Poll(int seconds, bool chart, bool record) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("zavmon-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  zav::QtDesktop desktop;
  zav::QtSerialDevice device;
  zav::Program program;
  zav::SetUpProgram(program, desktop, device, folder);
  zav::DesktopChartWindows charts({&desktop,
                                   &program.dataLog.session,
                                   &program.parameters.confirmedSet,
                                   [&] { return program.link.mainWindow; },
                                   {}});
  program.dataLog.charts = &charts;
  std::FILE* settings = std::fopen((folder / "zavmon.cfg").string().c_str(), "wb");
  std::fputs("COM1", settings);
  std::fclose(settings);
  QTimer::singleShot(0, [&] {
    if (chart) {
      charts.ShowLiveChart();
    }
    if (record) {
      zav::StartRecording(program.dataLog.recorder, folder / "bench.csv",
                          program.parameters.confirmedSet);
    }
  });
  // Counted from 5 s after start, as the window alone is: opening the windows and the first
  // layout of the chart are not what polling costs.
  constexpr int kSettleMs = 5000;
  double before = 0.0;
  double systemBefore = 0.0;
  long residentKiB = 0;
  QTimer::singleShot(kSettleMs, [&] {
    before = CpuMs();
    systemBefore = SystemCpuMs();
  });
  QTimer::singleShot(kSettleMs + seconds * 1000, [&] {
    residentKiB = ResidentKiB();  // with every window still open
    desktop.WindowOf(program.link.mainWindow)->close();
  });
  zav::RunMainWindow(program);
  const double used = CpuMs() - before;
  const double system = SystemCpuMs() - systemBefore;
  std::printf(
      "%s: CPU %.0f ms in %d s (%.2f %%; system %.0f ms), resident %.1f MiB, %zu samples, %llu "
      "rows recorded\n",
      chart && record ? "live chart + recording"
      : chart         ? "live chart"
      : record        ? "recording"
                      : "neither",
      used, seconds, used / (seconds * 10.0), system, static_cast<double>(residentKiB) / 1024.0,
      program.dataLog.session.samples.size(),
      static_cast<unsigned long long>(program.dataLog.recorder.writer.rows));
  std::filesystem::remove_all(folder);
  return 0;
}

int OpenLog(int rows) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("zavmon-bench-" + std::to_string(::getpid()) + ".csv");
  zav::CsvLogWriter writer;
  zav::OpenCsvLog(writer, path);
  zav::LiveSample sample;
  sample.statusKnown = true;
  for (int row = 0; row < rows; ++row) {
    sample.steadyMs = row * 150;
    sample.unixMs = 1'765'000'000'000 + sample.steadyMs;
    for (std::size_t i = 0; i < sample.values.size(); ++i) {
      sample.values[i] = static_cast<std::uint16_t>(5000 + (row * 37 + i * 101) % 9000);
    }
    sample.status = row % 400 < 200 ? zav::kStatusGas : zav::kStatusPetrol;
    zav::WriteCsvRow(writer, sample);
  }
  zav::CloseCsvLog(writer);
  const auto bytes = std::filesystem::file_size(path);

  // The program opens a log from its main window: the fonts are loaded by then.
  QFontMetrics(QApplication::font()).height();
  const Clock::time_point start = Clock::now();
  zav::CsvLogContents contents = zav::ReadCsvLog(path);
  const double readMs = MsSince(start);
  zav::SessionStore unused;
  zav::ControllerSet none;
  zav::QtDesktop desktop;
  zav::DesktopChartWindows charts({&desktop, &unused, &none, {}, {}});
  zav::LogView view{path, {contents.samples.begin(), contents.samples.end()}, std::nullopt};
  charts.ShowLog(std::move(view));
  QApplication::processEvents();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) {
      window->grab();
    }
  }
  const double shownMs = MsSince(start);
  std::printf("open a log of %d rows (%.1f MB): read %.0f ms, read and shown %.0f ms%s\n", rows,
              static_cast<double>(bytes) / 1e6, readMs, shownMs,
              contents.error.empty() ? "" : " (read failed!)");
  std::filesystem::remove(path);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "poll" && argc > 2) {
    const std::string with = argc > 3 ? argv[3] : "";
    return Poll(std::stoi(argv[2]), with == "chart" || with == "both",
                with == "record" || with == "both");
  }
  if (mode == "open-log") {
    return OpenLog(argc > 2 ? std::stoi(argv[2]) : 24'000);
  }
  std::fprintf(stderr, "usage: datalog_bench poll SECONDS [chart|record|both] | open-log [ROWS]\n");
  return 2;
}
