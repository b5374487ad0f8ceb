// The data log's chart windows, rendered off screen: a known series lands on the pixels its
// numbers give, the scatter draws the factors' line and its points where they belong, the
// live chart follows the session until paused, and a log's window is titled with its file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QValueAxis>

#include "datalog/session_store.h"
#include "hosts/qt/chart_picture.h"
#include "hosts/qt/qt_chart_windows.h"
#include "hosts/qt/scatter_window.h"
#include "hosts/qt/strip_chart_view.h"
#include "hosts/qt/strip_chart_window.h"
#include "link/wire.h"
#include "tests/support/temp_dir.h"

namespace zav::qt {
namespace {

DecodedSample Sample(double seconds, float petrolMs, float gasMs) {
  DecodedSample sample;
  sample.seconds = seconds;
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    sample.shown[static_cast<std::size_t>(kFirstPetrolColumn + cylinder)] = petrolMs;
    sample.shown[static_cast<std::size_t>(kFirstGasColumn + cylinder)] = gasMs;
  }
  sample.shown[kRpmColumn] = 800.0f;
  return sample;
}

// The widget pixel of a value pair on a chart, from the plot area and the axes' ranges.
QPoint PixelOf(QChartView& view, QValueAxis& x, QValueAxis& y, double xValue, double yValue) {
  const QRectF plot = view.chart()->plotArea();
  const double px = plot.left() + (xValue - x.min()) / (x.max() - x.min()) * plot.width();
  const double py = plot.bottom() - (yValue - y.min()) / (y.max() - y.min()) * plot.height();
  return view.mapFromScene(view.chart()->mapToScene(QPointF(px, py)));
}

// True when a pixel within `reach` of `at` is close to `colour`.
bool ColourNear(const QImage& image, QPoint at, QColor colour, int reach = 2) {
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const QColor found = image.pixelColor(at + QPoint(dx, dy));
      if (std::abs(found.red() - colour.red()) + std::abs(found.green() - colour.green()) +
              std::abs(found.blue() - colour.blue()) <
          60) {
        return true;
      }
    }
  }
  return false;
}

QImage Rendered(QWidget& widget) {
  widget.resize(800, 500);
  widget.show();
  QApplication::processEvents();
  return widget.grab().toImage();
}

TEST(QtStripChart, AKnownSeriesLandsOnItsPixelsAndSavesAsAPicture) {
  // BA_1 at 5.00 ms for 15 s, then 2.00 ms; only BA_1 shown.
  std::deque<DecodedSample> samples;
  for (int tick = 0; tick <= 200; ++tick) {
    const double seconds = tick * 0.15;
    samples.push_back(Sample(seconds, seconds < 15.0 ? 5.0f : 2.0f, 0.0f));
  }
  StripChartView view;
  for (int i = 1; i < kStripSeriesCount; ++i) {
    view.SetSeriesVisible(i, false);
  }
  view.ShowSpan(samples, 0.0, 30.0);
  const QImage image = Rendered(view);

  const QColor red = StripSeriesColour(0);
  QValueAxis& time = *view.TimeAxis();
  QValueAxis& ms = *view.TimesAxis();
  EXPECT_DOUBLE_EQ(ms.max(), 10.0);
  EXPECT_TRUE(ColourNear(image, PixelOf(view, time, ms, 7.5, 5.0), red));
  EXPECT_TRUE(ColourNear(image, PixelOf(view, time, ms, 22.5, 2.0), red));
  EXPECT_FALSE(ColourNear(image, PixelOf(view, time, ms, 7.5, 2.0), red));
  EXPECT_FALSE(ColourNear(image, PixelOf(view, time, ms, 22.5, 5.0), red));
  EXPECT_EQ(view.Series(0)->count(), 201);

  testing::TempDir dir;
  const QString path = QString::fromStdString((dir / "chart.png").string());
  ASSERT_TRUE(WriteChartPicture(view, path));
  const QImage saved(path);
  EXPECT_EQ(saved.size(), image.size());
  EXPECT_TRUE(ColourNear(saved, PixelOf(view, time, ms, 7.5, 5.0), red));
}

TEST(QtScatter, DrawsTheFactorsLineAndThePointsWhereTheNumbersSay) {
  // Two drives' worth of points on the factors' line: 3.0 ms at ratio 2.0, 5.0 ms at 1.2.
  std::deque<DecodedSample> samples{Sample(0.0, 3.0f, 6.0f), Sample(0.15, 5.0f, 6.0f)};
  ScatterWindow window(
      samples,
      [] {
        return std::optional<Factors>(Factors{2.0, 1.2});
      },
      0.0, nullptr);
  const QImage image = Rendered(window.Tabs());
  const ScatterPlot& plot = window.RatioPlot();
  ASSERT_EQ(plot.line->count(), 2);
  EXPECT_EQ(plot.line->at(0), QPointF(3.0, 2.0));
  EXPECT_EQ(plot.line->at(1), QPointF(5.0, 1.2));

  QChartView& view = *plot.view;
  const QImage drawn = view.grab().toImage();
  const QColor lineColour(0, 160, 0);
  EXPECT_TRUE(ColourNear(drawn, PixelOf(view, *plot.x, *plot.y, 4.0, 1.6), lineColour, 1));
  EXPECT_FALSE(ColourNear(drawn, PixelOf(view, *plot.x, *plot.y, 4.0, 1.9), lineColour, 1));
  const QColor recent = plot.recent[3]->color();  // the last cylinder is drawn on top
  EXPECT_TRUE(ColourNear(drawn, PixelOf(view, *plot.x, *plot.y, 3.0, 2.0), recent, 3));
  EXPECT_TRUE(ColourNear(drawn, PixelOf(view, *plot.x, *plot.y, 5.0, 1.2), recent, 3));
  EXPECT_FALSE(ColourNear(drawn, PixelOf(view, *plot.x, *plot.y, 3.0, 1.4), recent, 3));
  EXPECT_FALSE(image.isNull());

  // The second tab: gas against petrol with the 1:1 line.
  const ScatterPlot& gas = window.GasPlot();
  EXPECT_EQ(gas.recent[0]->at(0), QPointF(3.0, 6.0));
  EXPECT_EQ(gas.line->at(0), QPointF(0.0, 0.0));
  EXPECT_EQ(gas.line->at(1).x(), gas.line->at(1).y());
}

TEST(QtChartWindowsTest, LiveChartFollowsTheSessionUntilPausedAndLogsAreTitledByFile) {
  SessionStore session;
  RegisterImage image;
  QtChartWindows charts(session, image, [] { return nullptr; });
  LiveSample live;
  live.statusKnown = true;
  live.status = kStatusGas;
  const auto add = [&](int count) {
    for (int i = 0; i < count; ++i) {
      live.steadyMs += 150;
      for (std::size_t cylinder = 0; cylinder < 4; ++cylinder) {
        live.values[cylinder] = 6000;       // BA_n 3.00 ms
        live.values[4 + cylinder] = 12000;  // GAS_n 6.00 ms
      }
      AddToSession(session, live);
      charts.SessionChanged();
    }
  };
  add(10);
  charts.ShowLiveChart();
  StripChartWindow& window = *charts.LiveChart();
  EXPECT_EQ(window.windowTitle(), "Live chart");
  EXPECT_EQ(window.Chart().Series(0)->count(), 10);
  add(6);  // redrawn every other sample
  EXPECT_EQ(window.Chart().Series(0)->count(), 16);
  EXPECT_FLOAT_EQ(static_cast<float>(window.Chart().Series(0)->at(15).y()), 3.0f);
  window.SetPaused(true);
  add(300);  // 45 s more
  EXPECT_EQ(window.Chart().Series(0)->count(), 16);
  window.SetPaused(false);
  EXPECT_NEAR(window.Chart().TimeAxis()->max(), session.samples.back().seconds, 1e-9);
  EXPECT_NEAR(window.Chart().TimeAxis()->min(), session.samples.back().seconds - 30.0, 1e-9);

  charts.ShowLiveScatter();
  ASSERT_NE(charts.LiveScatter(), nullptr);
  // Registers all 0: both trackbars at the top, factors 2.5 and 1.5.
  ASSERT_EQ(charts.LiveScatter()->RatioPlot().line->count(), 2);
  EXPECT_EQ(charts.LiveScatter()->RatioPlot().line->at(0).y(), 2.5);

  LogView log;
  log.path = "/somewhere/zavmon-20261208-150405.csv";
  log.samples = session.samples;
  charts.ShowLog(std::move(log));
  bool found = false;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    found = found || (top->isVisible() && top->windowTitle() == "zavmon-20261208-150405.csv");
  }
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace zav::qt
