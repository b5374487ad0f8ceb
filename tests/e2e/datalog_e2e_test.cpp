// A recording of a drive against zavsim on a pseudo-terminal, in real time, on the Qt host
// (offscreen): twenty seconds on gas through the menu "Log", one row per live sample, the
// values as the simulator's engine model makes them, and the log played back.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <chrono>

#include "charts/desktop_chart_windows.h"
#include "datalog/csv_log_reader.h"
#include "link/wire.h"
#include "resources/strip_chart_template.h"
#include "sim/gas_factors.h"
#include "tests/e2e/program_run.h"
#include "tests/qt/zavsim_child.h"
#include "ui/main_window.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kDriveGiveUp = 240s;  // far beyond the minute or so the drive needs
constexpr auto kDrive = 20s;
constexpr int kStatusField = 1027;
constexpr std::array<double, 4> kGasSpread = {0.0, 0.015, -0.02, 0.01};  // the model's

class DataLogEndToEndTest : public ProgramRunTest {
 protected:
  // The log's chart window, once open and shown with that title.
  std::shared_ptr<const StripChartWindow> Playback(const DesktopChartWindows& charts,
                                                   const QString& title) {
    for (const auto& chart : charts.LogCharts()) {
      QWidget* window = desktop_.WindowOf(chart->window);
      if (window != nullptr && window->isVisible() && window->windowTitle() == title) {
        return chart;
      }
    }
    return nullptr;
  }

  // The pixels of the chart's canvas in `colour`, as painted on screen.
  int PixelsIn(const StripChartWindow& chart, QColor colour) {
    QWidget* canvas = desktop_.ControlOf(chart.window, kStripCanvas);
    if (canvas == nullptr) {
      return 0;
    }
    const QImage image = canvas->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        count += image.pixelColor(x, y) == colour ? 1 : 0;
      }
    }
    return count;
  }
};

TEST_F(DataLogEndToEndTest, TwentySecondsOnGasRecordOneRowPerSampleAsTheModelMakesThem) {
  ZavsimChild simulator(ZAVSIM_PATH, {});
  const std::optional<std::string> pty = simulator.TerminalPath(20s);
  ASSERT_TRUE(pty) << "zavsim did not start";
  SetUpProgram(*pty);
  DesktopChartWindows charts({&desktop_,
                              &program_.dataLog.session,
                              &program_.parameters.confirmedSet,
                              [this] { return program_.link.mainWindow; },
                              {}});
  program_.dataLog.charts = &charts;
  const std::filesystem::path log = dir_ / "drive.csv";
  std::chrono::steady_clock::time_point started;
  std::size_t sessionAtStart = 0;
  std::size_t sessionAtStop = 0;
  int playbackPoints = -1;
  int playbackRedPixels = 0;

  Run({{"Petrol", [&] { return OnPetrol(); },
        [&] {
          qobject_cast<QAbstractButton*>(
              desktop_.ControlOf(program_.link.mainWindow, kSwitchButton))
              ->click();
        }},
       {"on gas", [&] { return Text(kStatusField) == "Gas"; },
        Command("Start recording\u2026", {ChooseFile(log)})},
       {"recording",
        [&] {
          if (program_.dataLog.recorder.recording && sessionAtStart == 0) {
            sessionAtStart = program_.dataLog.session.samples.size();
            started = std::chrono::steady_clock::now();
          }
          return Answered() && program_.dataLog.recorder.recording;
        },
        Command("Live chart")},
       {"twenty seconds driven",
        [&] { return std::chrono::steady_clock::now() - started > kDrive; },
        [&] {
          sessionAtStop = program_.dataLog.session.samples.size();
          Command("Stop recording")();
        }},
       {"stopped", [&] { return !program_.dataLog.recorder.recording; },
        Command("Open log\u2026", {ChooseFile(log)})},
       {"played back",
        [&] {
          const auto playback = Playback(charts, "drive.csv");
          if (playback != nullptr) {
            playbackPoints = static_cast<int>(playback->inputs.samples->size());
            QApplication::processEvents();  // its first paint
            playbackRedPixels = PixelsIn(*playback, QColor(0xd0, 0x00, 0x00));
          }
          return Answered() && playback != nullptr && playbackRedPixels > 0;
        },
        [] {}}},
      kDriveGiveUp);

  EXPECT_EQ(exitCode_, 0);
  const CsvLogContents contents = ReadCsvLog(log);
  ASSERT_EQ(contents.error, "");
  EXPECT_EQ(contents.cutLine, 0);
  const std::vector<DecodedSample>& rows = contents.samples;
  // One row per live sample: as many as the session gained while recording (give or take
  // the sample of the tick in which the start or the stop was chosen).
  const auto gained = static_cast<double>(sessionAtStop - sessionAtStart);
  EXPECT_NEAR(static_cast<double>(rows.size()), gained, 2.0);
  ASSERT_GT(rows.size(), 40U) << "far fewer samples than 20 s of 150 ms ticks give";
  const double seconds = rows.back().seconds - rows.front().seconds;
  EXPECT_GT(seconds, 19.0);
  EXPECT_LE(static_cast<double>(rows.size() - 1), seconds / 0.15 + 1.0)
      << "never more than one row per tick";

  // The gas times follow the simulator's model for its factory factors.
  const sim::GasFactors factors = sim::FactorsOf(sim::FactoryRegisters());
  int onGas = 0;
  int leftGas = 0;
  int closeOnes = 0;
  int checked = 0;
  for (const DecodedSample& row : rows) {
    ASSERT_TRUE(row.statusKnown);
    EXPECT_GT(row.shown[kRpmColumn], 300.0f);
    EXPECT_LT(row.shown[kRpmColumn], 3300.0f);
    if (row.status != kStatusGas) {
      continue;
    }
    ++onGas;
    for (int cylinder = 0; cylinder < 4; ++cylinder) {
      const double petrol = row.shown[static_cast<std::size_t>(kFirstPetrolColumn + cylinder)];
      const double gas = row.shown[static_cast<std::size_t>(kFirstGasColumn + cylinder)];
      if (gas == 0.0) {
        // The row of a tick in which the controller left gas: its gas times are already
        // 0 while the status that says so comes with the next replies.
        ++leftGas;
        continue;
      }
      const double expected = sim::GasToPetrolRatio(factors, petrol) *
                              (1.0 + kGasSpread[static_cast<std::size_t>(cylinder)]);
      // Within the model's 1 % noise and the two decimals, but for the odd sample whose
      // petrol and gas frames left the controller some model steps apart during a rev.
      const double miss = std::abs(gas / petrol / expected - 1.0);
      EXPECT_LT(miss, 0.08) << "at " << row.seconds << " s";
      closeOnes += miss < 0.015 ? 1 : 0;
      ++checked;
    }
  }
  EXPECT_GT(onGas, 0);
  EXPECT_LE(leftGas, onGas);
  EXPECT_GE(closeOnes, checked * 9 / 10);

  // The playback holds every row and painted them (BA_1's red on its canvas).
  EXPECT_EQ(playbackPoints, static_cast<int>(rows.size()));
  EXPECT_GT(playbackRedPixels, 100);
  // The controller was never read: no parameter file beside the log, and none in the way of
  // a .car of the fitter's.
  EXPECT_FALSE(std::filesystem::exists(ParametersPathOf(log)));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "drive.car"));
}

}  // namespace
}  // namespace zav::test
