// What the strip chart costs (Google Benchmark; not a test):
//   StripRedraw/recording   a redraw of the 10-minute strip, every series shown, recorded
//                           operation by operation (the chart's own work, no toolkit)
//   StripRedraw/painter     the same as a canvas control paints it on the Qt host: by the Qt
//                           host's painter, 800 x 400, into the window's image
//   OpenHourLog             a 1-hour log (24,000 rows) read and drawn once, as opening it shows
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <deque>
#include <filesystem>
#include <string>

#include "charts/strip_chart.h"
#include "datalog/csv_log_reader.h"
#include "datalog/csv_log_writer.h"
#include "datalog/session_store.h"
#include "hosts/headless/recording_canvas.h"
#include "hosts/qt/painter_canvas.h"
#include "hosts/qt/text_cache.h"
#include "link/wire.h"

namespace {

constexpr zav::PixelSize kSize{800, 400};
constexpr double kTickSeconds = 0.15;

void SetShown(zav::LiveSample& live, int column, double value) {
  const zav::ShownColumn& shown = zav::kShownColumnTable[static_cast<std::size_t>(column)];
  const double raw = shown.form == zav::ShownForm::Milliseconds ? value * 2000.0 : value;
  live.values[static_cast<std::size_t>(shown.row)] = static_cast<std::uint16_t>(std::lround(raw));
}

// A drive of `ticks` samples: petrol, then gas, a short Low RPM now and then; every value
// moves with the throttle, as on the road.
zav::LiveSample DriveSample(int tick) {
  zav::LiveSample live;
  const double seconds = tick * kTickSeconds;
  live.steadyMs = std::llround(seconds * 1000.0);
  live.unixMs = 1'765'000'000'000 + live.steadyMs;
  live.statusKnown = true;
  const int phase = tick % 800;
  live.status = phase < 100   ? zav::kStatusPetrol
                : phase < 130 ? zav::kStatusLowRpm
                              : zav::kStatusGas;
  const double throttle = 0.5 + 0.5 * std::sin(seconds / 2.5);
  const double petrolMs = 2.5 + 3.0 * throttle;
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    SetShown(live, zav::kFirstPetrolColumn + cylinder, petrolMs + 0.1 * cylinder);
    const bool onGas = live.status == zav::kStatusGas;
    SetShown(live, zav::kFirstGasColumn + cylinder,
             onGas ? (petrolMs + 0.1 * cylinder) * 1.6 : 0.0);
  }
  SetShown(live, zav::kRpmColumn, 1500.0 + 2500.0 * throttle);
  SetShown(live, zav::kManifoldColumn, 300.0 + 600.0 * throttle);
  SetShown(live, zav::kRegulatorColumn, 1200.0);
  SetShown(live, zav::kTemperatureColumn, 72.0);
  SetShown(live, zav::kLambdaColumn, 450.0 + 400.0 * std::sin(seconds * 2.0));
  return live;
}

const zav::SessionStore& TenMinutes() {
  static const zav::SessionStore session = [] {
    zav::SessionStore made;
    for (int tick = 0; tick < 4000; ++tick) {  // 10 min of 150 ms ticks
      zav::AddToSession(made, DriveSample(tick));
    }
    return made;
  }();
  return session;
}

zav::StripShown LastTenMinutes(const std::deque<zav::DecodedSample>& samples) {
  zav::StripShown shown;
  shown.to = samples.back().seconds;
  shown.from = shown.to - 600.0;
  return shown;
}

void StripRedrawRecording(benchmark::State& state) {
  const auto& samples = TenMinutes().samples;
  const zav::StripShown shown = LastTenMinutes(samples);
  std::vector<zav::headless::DrawOp> ops;
  for (auto _ : state) {
    ops.clear();
    zav::headless::RecordingCanvas canvas(ops);
    benchmark::DoNotOptimize(zav::DrawStripChart(canvas, kSize, samples, shown));
  }
}
BENCHMARK(StripRedrawRecording)->Name("StripRedraw/recording")->Unit(benchmark::kMicrosecond);

void StripRedrawPainter(benchmark::State& state) {
  const auto& samples = TenMinutes().samples;
  const zav::StripShown shown = LastTenMinutes(samples);
  // The window's image, as the offscreen and X11 platforms make it; the control inside it.
  QImage window(kSize.width + 40, kSize.height + 80, QImage::Format_ARGB32_Premultiplied);
  zav::qt::TextCache texts;  // as a canvas control keeps it from one paint to the next
  for (auto _ : state) {
    QPainter painter(&window);
    painter.translate(20, 40);
    painter.fillRect(QRect(QPoint(0, 0), QSize(kSize.width, kSize.height)), Qt::white);
    zav::qt::PainterCanvas canvas(painter, &texts);
    benchmark::DoNotOptimize(zav::DrawStripChart(canvas, kSize, samples, shown));
  }
}
BENCHMARK(StripRedrawPainter)->Name("StripRedraw/painter")->Unit(benchmark::kMicrosecond);

void OpenHourLog(benchmark::State& state) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("zavmon-chart-bench-" + std::to_string(::getpid()) + ".csv");
  zav::CsvLogWriter writer;
  zav::OpenCsvLog(writer, path);
  for (int tick = 0; tick < 24'000; ++tick) {
    zav::WriteCsvRow(writer, DriveSample(tick));
  }
  zav::CloseCsvLog(writer);
  QImage image(kSize.width, kSize.height, QImage::Format_RGB32);
  for (auto _ : state) {
    const zav::CsvLogContents contents = zav::ReadCsvLog(path);
    const std::deque<zav::DecodedSample> samples(contents.samples.begin(), contents.samples.end());
    zav::StripShown whole{.from = samples.front().seconds, .to = samples.back().seconds};
    QPainter painter(&image);
    zav::qt::PainterCanvas canvas(painter);
    benchmark::DoNotOptimize(zav::DrawStripChart(canvas, kSize, samples, whole));
  }
  std::filesystem::remove(path);
}
BENCHMARK(OpenHourLog)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication application(argc, argv);  // the painter's fonts
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
