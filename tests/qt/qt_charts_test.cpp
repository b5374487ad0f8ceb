// The chart windows on the Qt host, painted off screen: a known series lands on the pixels
// its numbers give and saves as the same picture, a log with a gap opens in its window with
// the lines either side of it, and "Petrol against gas" paints its points and the factors'
// line where the numbers say, and a live chart repainted in parts shows what a whole repaint
// shows. The same windows are read operation by operation on the
// headless host (tests/charts); here the painter's pixels are checked, in window pixels at any
// screen scale (the suite runs these with QT_SCALE_FACTOR=2 too).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "charts/scatter_window.h"
#include "charts/strip_chart_window.h"
#include "datalog/session_store.h"
#include "hosts/qt/qt_desktop.h"
#include "link/wire.h"
#include "resources/scatter_template.h"
#include "resources/strip_chart_template.h"
#include "tests/qt/dialog_script.h"
#include "tests/qt/logical_pixels.h"

namespace zav {
namespace {

constexpr int kPaintStepTimerId = 1;

const DialogTemplate& HostTemplate() {
  static const DialogTemplate kTemplate{.id = 4200, .title = "Host", .rect = {0, 0, 60, 30}};
  return kTemplate;
}

DecodedSample Sample(double seconds, float petrolMs, float gasMs) {
  DecodedSample sample;
  sample.seconds = seconds;
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    sample.shown[static_cast<std::size_t>(kFirstPetrolColumn + cylinder)] = petrolMs;
    sample.shown[static_cast<std::size_t>(kFirstGasColumn + cylinder)] = gasMs;
  }
  sample.shown[kRpmColumn] = 800.0f;
  sample.statusKnown = true;
  sample.status = gasMs > 0.0f ? kStatusGas : kStatusPetrol;
  return sample;
}

// True when a pixel within `reach` of `at` is close to `colour`; in window pixels, any of
// whose device pixels counts on a scaled screen.
bool ColourNear(const QImage& image, PixelPoint at, Colour colour, int reach = 2) {
  const int ratio = test::RatioOf(image);
  for (int dy = -reach * ratio; dy < (reach + 1) * ratio; ++dy) {
    for (int dx = -reach * ratio; dx < (reach + 1) * ratio; ++dx) {
      const QColor found = image.pixelColor(at.x * ratio + dx, at.y * ratio + dy);
      if (std::abs(found.red() - colour.red) + std::abs(found.green() - colour.green) +
              std::abs(found.blue() - colour.blue) <
          60) {
        return true;
      }
    }
  }
  return false;
}

void SetShown(LiveSample& live, int column, double value) {
  const ShownColumn& shown = kShownColumnTable[static_cast<std::size_t>(column)];
  const double raw = shown.form == ShownForm::Milliseconds ? value * 2000.0 : value;  // 0.5 us
  live.values[static_cast<std::size_t>(shown.row)] = static_cast<std::uint16_t>(std::lround(raw));
}

// A drive as the session store takes it, one sample per 150 ms tick from `from` to `to` (s):
// petrol to 12 s, then gas, but "Low RPM" from 30 s to 34 s; the times, RPM, manifold
// pressure and lambda move with the throttle.
void AddDrive(SessionStore& session, double from, double to) {
  for (double seconds = from; seconds < to; seconds += 0.15) {
    LiveSample live;
    live.steadyMs = std::llround(seconds * 1000.0);
    live.statusKnown = true;
    const bool lowRpm = seconds >= 30.0 && seconds < 34.0;
    live.status = seconds < 12.0 ? kStatusPetrol : lowRpm ? kStatusLowRpm : kStatusGas;
    const double throttle = 0.5 + 0.5 * std::sin(seconds / 2.5);
    const double petrolMs = 2.5 + 3.0 * throttle;
    for (int cylinder = 0; cylinder < 4; ++cylinder) {
      SetShown(live, kFirstPetrolColumn + cylinder, petrolMs + 0.1 * cylinder);
      const bool onGas = live.status == kStatusGas;
      SetShown(live, kFirstGasColumn + cylinder, onGas ? (petrolMs + 0.1 * cylinder) * 1.6 : 0.0);
    }
    SetShown(live, kRpmColumn, lowRpm ? 850.0 : 1500.0 + 2500.0 * throttle);
    SetShown(live, kManifoldColumn, 300.0 + 600.0 * throttle);
    SetShown(live, kRegulatorColumn, 1200.0);
    SetShown(live, kTemperatureColumn, 72.0);
    SetShown(live, kLambdaColumn, 450.0 + 400.0 * std::sin(seconds * 2.0));
    AddToSession(session, live);
  }
}

class QtChartsTest : public ::testing::Test {
 protected:
  // Runs `step` once the host window is up, in its modal loop, then ends it.
  void Run(const std::function<void(WindowRef)>& step) {
    test::DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
      if (event.message == DialogMessage::Init) {
        desktop.SetTimer(window, kPaintStepTimerId, 20);
      } else if (event.message == DialogMessage::Timer && event.id == kPaintStepTimerId) {
        desktop.KillTimer(window, kPaintStepTimerId);
        step(window);
        desktop.EndDialog(window, 0);
      }
    });
    desktop_.RunDialog(HostTemplate(), {}, script.Proc());
    EXPECT_FALSE(script.TimedOut());
  }

  QImage Painted(WindowRef window, int canvasId) {
    QWidget* top = desktop_.WindowOf(window);
    top->resize(800, 500);
    QApplication::processEvents();
    return desktop_.ControlOf(window, canvasId)->grab().toImage();
  }

  QtDesktop desktop_;
};

TEST_F(QtChartsTest, AKnownSeriesLandsOnItsPixelsAndSavesAsThePicture) {
  // BA_1 at 5.00 ms for 15 s, then 2.00 ms; only BA_1 shown, the whole log.
  std::deque<DecodedSample> samples;
  for (int tick = 0; tick <= 200; ++tick) {
    const double seconds = tick * 0.15;
    samples.push_back(Sample(seconds, seconds < 15.0 ? 5.0f : 2.0f, 0.0f));
  }
  auto chart = std::make_shared<StripChartWindow>();
  chart->inputs.samples = &samples;
  chart->inputs.live = false;
  chart->inputs.title = "drive.csv";
  chart->shown.series.fill(false);
  chart->shown.series[0] = true;
  Run([&](WindowRef host) {
    const WindowRef window = OpenStripChart(desktop_, host, chart);
    const QImage image = Painted(window, kStripCanvas);
    const PixelBox plot = chart->layout.plot;
    ASSERT_GT(plot.Width(), 100);
    const AxisScale time{0.0, 30.0, plot.left, plot.right - 1};
    const AxisScale ms{0.0, 10.0, plot.bottom - 1, plot.top};  // a round top over 5 ms
    const Colour red = kStripSeriesColours[0];
    const auto at = [&](double seconds, double value) {
      return PixelPoint{time.Pixel(seconds), ms.Pixel(value)};
    };
    EXPECT_TRUE(ColourNear(image, at(7.5, 5.0), red));
    EXPECT_TRUE(ColourNear(image, at(22.5, 2.0), red));
    EXPECT_FALSE(ColourNear(image, at(7.5, 2.0), red));
    EXPECT_FALSE(ColourNear(image, at(22.5, 5.0), red));

    QTemporaryDir folder;
    const std::string path = QDir(folder.path()).filePath("chart.png").toStdString();
    const QSize shown = image.deviceIndependentSize().toSize();  // window pixels
    const PixelSize size{shown.width(), shown.height()};
    ASSERT_EQ(desktop_.SavePicture(
                  path, size,
                  [&](Canvas& canvas) { DrawStripChart(canvas, size, samples, chart->shown); }),
              "");
    const QImage saved(QString::fromStdString(path));
    EXPECT_EQ(saved.size(), shown);
    EXPECT_TRUE(ColourNear(saved, at(7.5, 5.0), red));
    EXPECT_FALSE(ColourNear(saved, at(22.5, 5.0), red));
  });
}

TEST_F(QtChartsTest, ALogWithAGapPaintsItsLinesEitherSideAndNothingAcrossIt) {
  // A drive with no samples from 15 s to 25 s (the adapter pulled out on the way).
  SessionStore session;
  AddDrive(session, 0.0, 15.0);
  AddDrive(session, 25.0, 45.0);
  const std::deque<DecodedSample>& samples = session.samples;
  auto chart = std::make_shared<StripChartWindow>();
  chart->inputs.samples = &samples;
  chart->inputs.live = false;
  chart->inputs.title = "zavmon-20261209-101500.csv";
  Run([&](WindowRef host) {
    const WindowRef window = OpenStripChart(desktop_, host, chart);
    const QImage image = Painted(window, kStripCanvas);
    EXPECT_EQ(desktop_.WindowOf(window)->windowTitle(), "zavmon-20261209-101500.csv");
    const PixelBox plot = chart->layout.plot;
    const AxisScale time{chart->shown.from, chart->shown.to, plot.left, plot.right - 1};
    // GAS_4's green in the column at 40 s and BA_4's red at 10 s (each drawn over the
    // cylinders before it), and no line of any series in the gap's middle.
    const auto seriesIn = [&](int x, Colour colour) {
      for (int y = plot.top; y < plot.bottom; ++y) {
        if (ColourNear(image, {x, y}, colour, 0)) {
          return true;
        }
      }
      return false;
    };
    EXPECT_TRUE(seriesIn(time.Pixel(40.0), kStripSeriesColours[7]));
    EXPECT_TRUE(seriesIn(time.Pixel(10.0), kStripSeriesColours[3]));
    for (const Colour colour : kStripSeriesColours) {
      EXPECT_FALSE(seriesIn(time.Pixel(20.0), colour));
    }
    // The README's picture: ZAV_CHART_PICTURE=docs/pictures/strip-chart-gap.png.
    if (const char* picture = std::getenv("ZAV_CHART_PICTURE")) {
      desktop_.WindowOf(window)->grab().save(QString::fromLocal8Bit(picture));
    }
  });
}

// What the window shows of the canvas control: the window's own image, as painted so far
// (grab() would paint the widget afresh).
QImage Shown(QWidget& canvas) {
  const QImage window = canvas.screen()->grabWindow(canvas.window()->winId()).toImage();
  const qreal ratio = canvas.devicePixelRatioF();
  const QPoint origin = canvas.mapTo(canvas.window(), QPoint(0, 0)) * ratio;
  return window.copy(QRect(origin, canvas.size() * ratio));
}

TEST_F(QtChartsTest, ALiveChartRepaintedInPartsShowsWhatAWholeRepaintShows) {
  SessionStore session;
  AddDrive(session, 0.0, 40.0);
  auto chart = std::make_shared<StripChartWindow>();
  chart->inputs.samples = &session.samples;
  Run([&](WindowRef host) {
    const WindowRef window = OpenStripChart(desktop_, host, chart);
    Painted(window, kStripCanvas);
    for (double second = 40.0; second < 46.0; second += 1.0) {
      AddDrive(session, second, second + 1.0);
      RefreshStripChart(desktop_, *chart);
      QApplication::processEvents();
    }
    EXPECT_FALSE(chart->layout.frameDrawn) << "the latest paint was of the plot and time axis";
    QWidget& canvas = *desktop_.ControlOf(window, kStripCanvas);
    const QImage inParts = Shown(canvas);
    desktop_.Redraw(window, kStripCanvas);
    QApplication::processEvents();
    ASSERT_TRUE(chart->layout.frameDrawn);
    EXPECT_TRUE(inParts == Shown(canvas)) << "pixels left from before a part's repaint";
  });
}

TEST_F(QtChartsTest, PetrolAgainstGasPaintsThePointsAndTheFactorsLineWhereTheNumbersSay) {
  // 90 s on gas; the ratio falls with the petrol time and differs a little per cylinder.
  std::deque<DecodedSample> samples(600);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].seconds = static_cast<double>(i) * 0.15;
    const double petrolMs = 2.5 + 2.0 * (1.0 + std::sin(samples[i].seconds / 5.0));
    for (std::size_t cylinder = 0; cylinder < 4; ++cylinder) {
      const double gasMs = petrolMs * (2.4 - 0.15 * petrolMs) * (1.0 + 0.04 * cylinder);
      samples[i].shown[kFirstPetrolColumn + cylinder] = static_cast<float>(petrolMs);
      samples[i].shown[kFirstGasColumn + cylinder] = static_cast<float>(gasMs);
    }
  }
  auto scatter = std::make_shared<ScatterWindow>();
  scatter->inputs.samples = &samples;
  scatter->inputs.factors = [] { return std::optional<Factors>(Factors{2.0, 1.2}); };
  Run([&](WindowRef host) {
    const WindowRef window = OpenScatter(desktop_, host, scatter);
    const QImage image = Painted(window, kScatterCanvas);
    const ScatterLayout& at = scatter->layout;
    ASSERT_GT(at.plot.Width(), 100);
    const auto lineAt = [](double ms) {
      return 2.0 - 0.8 * (std::clamp(ms, 2.5, 7.0) - 2.5) / 4.5;
    };
    EXPECT_TRUE(
        ColourNear(image, {at.x.Pixel(4.0), at.y.Pixel(lineAt(4.0))}, kFactorLineColour, 1));
    EXPECT_FALSE(
        ColourNear(image, {at.x.Pixel(4.0), at.y.Pixel(lineAt(4.0) + 0.3)}, kFactorLineColour, 1));
    // The newest sample's cylinder 4 mark, on top of the others.
    const DecodedSample& newest = samples.back();
    const double petrol = newest.shown[kFirstPetrolColumn + 3];
    const double ratio = newest.shown[kFirstGasColumn + 3] / petrol;
    EXPECT_TRUE(
        ColourNear(image, {at.x.Pixel(petrol), at.y.Pixel(ratio)}, RecentPointColour(3), 5));
    // The README's picture: ZAV_SCATTER_PICTURE=docs/pictures/petrol-against-gas.png.
    if (const char* picture = std::getenv("ZAV_SCATTER_PICTURE")) {
      desktop_.WindowOf(window)->grab().save(QString::fromLocal8Bit(picture));
    }
  });
}

}  // namespace
}  // namespace zav
