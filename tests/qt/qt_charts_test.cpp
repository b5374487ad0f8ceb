// The data log's chart windows, rendered off screen: a known series lands on the pixels its
// numbers give, the scatter draws the factors' line and its points where they belong, the
// live chart follows the session until paused, and a log's window is titled with its file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>
#include <set>

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

// The legend's entries as drawn (a cut one ends in "..."), in alphabetical order, joined by
// commas.
std::string LegendTexts(QChart& chart) {
  for (int round = 0; round < 5; ++round) {
    QApplication::processEvents();  // the legend is laid out when the events are delivered
  }
  QStringList texts;
  std::vector<QGraphicsItem*> items{chart.legend()};
  while (!items.empty()) {
    QGraphicsItem* item = items.back();
    items.pop_back();
    if (auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item); text && text->isVisible()) {
      texts.push_back(text->toPlainText());
    }
    for (QGraphicsItem* child : item->childItems()) {
      items.push_back(child);
    }
  }
  texts.sort();
  return texts.join(QStringLiteral(", ")).toStdString();
}

// Each run's points lie on one side of the gap from 15 s to 25 s.
void ExpectRunsEitherSideOfTheGap(StripChartView& chart, int index) {
  QLineSeries& before = *chart.Line(index, 0);
  QLineSeries& after = *chart.Line(index, 1);
  ASSERT_GT(before.count(), 0);
  ASSERT_GT(after.count(), 0);
  EXPECT_LT(before.at(before.count() - 1).x(), 15.0) << index;
  EXPECT_GE(after.at(0).x(), 25.0) << index;
}

TEST(QtStripChart, AGapBreaksTheLinesTheBandsHaveALegendAndTheWheelMovesThroughTheSession) {
  // A drive with no samples from 15 s to 25 s (the adapter pulled out on the way).
  SessionStore session;
  AddDrive(session, 0.0, 15.0);
  AddDrive(session, 25.0, 45.0);
  {
    StripChartWindow log(session.samples, false, nullptr);
    log.setWindowTitle(QStringLiteral("zavmon-20261209-101500.csv"));
    log.show();
    QApplication::processEvents();
    EXPECT_EQ(log.Chart().RunsShown(), 2U);
    ExpectRunsEitherSideOfTheGap(log.Chart(), 0);
    // The README's picture: ZAV_CHART_PICTURE=docs/pictures/strip-chart-gap.png.
    if (const char* picture = std::getenv("ZAV_CHART_PICTURE")) {
      log.grab().save(QString::fromLocal8Bit(picture));
    }
  }

  StripChartWindow window(session.samples, true, nullptr);
  window.show();
  window.activateWindow();
  QApplication::processEvents();
  StripChartView& chart = window.Chart();
  QCheckBox* lambda = nullptr;
  for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
    lambda = box->text() == "Lambda (mV)" ? box : lambda;
  }
  ASSERT_NE(lambda, nullptr);
  lambda->click();
  window.SetSpan(120.0);
  ASSERT_EQ(chart.RunsShown(), 2U);
  for (int i = 0; i < kStripSeriesCount; ++i) {
    ExpectRunsEitherSideOfTheGap(chart, i);
    const bool shown = kStripSeriesTable[static_cast<std::size_t>(i)].name != "Lambda (mV)";
    EXPECT_EQ(chart.Line(i, 0)->isVisible(), shown);
    EXPECT_EQ(chart.Line(i, 1)->isVisible(), shown);
  }
  EXPECT_EQ(LegendTexts(*chart.chart()), "Gas, Low RPM, Petrol");
  chart.ShowWholeLegend(true);  // as a saved picture shows it: every series shown, none cut
  EXPECT_EQ(LegendTexts(*chart.chart()),
            "BA_1, BA_2, BA_3, BA_4, GAS_1, GAS_2, GAS_3, GAS_4, Gas, Low RPM, Manif (mBar), "
            "Petrol, RPM, Regul. (mBar), Temp. (C)");
  chart.ShowWholeLegend(false);
  lambda->click();  // shown again: the chart would give its lines their legend entries back
  EXPECT_EQ(LegendTexts(*chart.chart()), "Gas, Low RPM, Petrol");

  // The last 30 s hold one run; the second lines stay, empty, and live redraws make none.
  window.SetSpan(30.0);
  EXPECT_EQ(chart.RunsShown(), 1U);
  EXPECT_EQ(chart.Line(0, 1)->count(), 0);
  EXPECT_EQ(chart.Line(0, 2), nullptr);
  const qsizetype seriesHeld = chart.chart()->series().size();
  AddDrive(session, 45.0, 60.0);
  window.Refresh();
  EXPECT_EQ(chart.chart()->series().size(), seriesHeld);

  // A wheel notch back pauses a tenth of the span back; Left steps once more.
  const auto pauseText = [&] { return window.findChild<QPushButton*>()->text(); };
  QScrollBar& scroll = *window.findChild<QScrollBar*>();
  EXPECT_EQ(scroll.singleStep(), scroll.pageStep() / 10);
  const double newest = session.samples.back().seconds;
  QValueAxis& time = *chart.TimeAxis();
  EXPECT_NEAR(time.max(), newest, 1e-9);
  const auto wheel = [&](int angle) {
    const QPointF middle = QRectF(chart.viewport()->rect()).center();
    QWheelEvent event(middle, chart.viewport()->mapToGlobal(middle), QPoint(), QPoint(0, angle),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart.viewport(), &event);
  };
  wheel(120);
  EXPECT_EQ(pauseText(), "Resume");
  EXPECT_NEAR(time.min(), newest - 33.0, 0.15);
  QTest::keyClick(&window, Qt::Key_Left);
  EXPECT_NEAR(time.min(), newest - 36.0, 0.15);
  AddDrive(session, 60.0, 70.0);  // paused: the view stays
  window.Refresh();
  EXPECT_NEAR(time.min(), newest - 36.0, 0.15);
  // Forward again: the second step reaches the live end, and the chart follows live.
  wheel(-60);
  wheel(-60);
  EXPECT_NEAR(time.min(), newest - 33.0, 0.15);
  QTest::keyClick(&window, Qt::Key_Right);
  QTest::keyClick(&window, Qt::Key_Right);
  EXPECT_EQ(pauseText(), "Pause");
  EXPECT_NEAR(time.max(), session.samples.back().seconds, 1e-9);
  // The scroll bar's arrow while following, with samples newer than the drawing: a step back
  // from what was shown.
  const double drawn = time.max();
  AddDrive(session, 70.0, 72.0);
  scroll.triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(pauseText(), "Resume");
  EXPECT_NEAR(time.min(), drawn - 33.0, 0.15);
}

TEST(QtScatter, DrawsTheFactorsLineAndThePointsWhereTheNumbersSay) {
  // Two points, 3.0 ms at ratio 2.0 and 5.0 ms at 1.2; the factors' line is the controller's
  // (2.0 at 2.5 ms to 1.2 at 7 ms), drawn across the petrol times in view, not between the
  // points.
  std::deque<DecodedSample> samples{Sample(0.0, 3.0f, 6.0f), Sample(0.15, 5.0f, 6.0f)};
  ScatterWindow window(
      samples,
      [] {
        return std::optional<Factors>(Factors{2.0, 1.2});
      },
      0.0, nullptr);
  const QImage image = Rendered(window.Tabs());
  const ScatterPlot& plot = window.RatioPlot();
  const auto lineAt = [](double ms) { return 2.0 - 0.8 * (ms - 2.5) / 4.5; };
  ASSERT_EQ(plot.line->count(), 2);
  EXPECT_DOUBLE_EQ(plot.line->at(0).x(), plot.x->min());
  EXPECT_DOUBLE_EQ(plot.line->at(1).x(), plot.x->max());
  for (const QPointF& point : plot.line->points()) {
    EXPECT_NEAR(point.y(), lineAt(point.x()), 1e-9);
  }

  QChartView& view = *plot.view;
  const QImage drawn = view.grab().toImage();
  const QColor lineColour(0, 160, 0);
  EXPECT_TRUE(ColourNear(drawn, PixelOf(view, *plot.x, *plot.y, 4.0, lineAt(4.0)), lineColour, 1));
  EXPECT_FALSE(ColourNear(drawn, PixelOf(view, *plot.x, *plot.y, 4.0, 1.45), lineColour, 1));
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

TEST(QtScatter, TheLegendShowsWholeInTheDesktopsFontOrLargerAndTheCylindersDifferByMark) {
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
  const QFont desktop = QApplication::font();
  const std::string cylinders =
      "Cylinder 1, Cylinder 1, last 10 s, Cylinder 2, Cylinder 2, last 10 s, Cylinder 3, "
      "Cylinder 3, last 10 s, Cylinder 4, Cylinder 4, last 10 s";
  for (const double scale : {1.0, 1.5}) {
    QFont font = desktop;
    font.setPointSizeF(desktop.pointSizeF() * scale);
    QApplication::setFont(font);
    // Without factors the line's entry is the longest: "Factors in force: not read yet".
    ScatterWindow window(
        samples, [] { return std::optional<Factors>(); }, 0.0, nullptr);
    window.show();
    window.Tabs().setCurrentIndex(0);
    EXPECT_EQ(LegendTexts(*window.RatioPlot().view->chart()),
              cylinders + ", Factors in force: not read yet")
        << scale;
    // The README's picture: ZAV_SCATTER_PICTURE=docs/pictures/petrol-against-gas.png.
    if (const char* picture = std::getenv("ZAV_SCATTER_PICTURE"); picture && scale == 1.0) {
      window.grab().save(QString::fromLocal8Bit(picture));
    }
    window.Tabs().setCurrentIndex(1);
    EXPECT_EQ(LegendTexts(*window.GasPlot().view->chart()), "1:1, " + cylinders) << scale;

    // Each cylinder has a mark of its own, older and recent points alike, and the legend
    // shows it, so a picture printed in grey still tells them apart.
    const ScatterPlot& plot = window.RatioPlot();
    std::set<QScatterSeries::MarkerShape> shapes;
    for (std::size_t cylinder = 0; cylinder < 4; ++cylinder) {
      shapes.insert(plot.older[cylinder]->markerShape());
      EXPECT_EQ(plot.recent[cylinder]->markerShape(), plot.older[cylinder]->markerShape());
    }
    EXPECT_EQ(shapes.size(), 4U);
    EXPECT_EQ(plot.view->chart()->legend()->markerShape(), QLegend::MarkerShapeFromSeries);
  }
  QApplication::setFont(desktop);
}

TEST(QtChartWindowsTest, LiveChartFollowsTheSessionUntilPausedAndLogsAreTitledByFile) {
  SessionStore session;
  ControllerSet controllerSet;
  QtChartWindows charts(session, controllerSet, [] { return nullptr; });
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
  // A 10 min strip moves under a pixel in 0.45 s: it waits for a step that shows.
  window.SetSpan(600.0);
  const qsizetype drawn = window.Chart().Series(0)->count();
  add(3);
  EXPECT_EQ(window.Chart().Series(0)->count(), drawn);
  add(30);
  EXPECT_GT(window.Chart().Series(0)->count(), drawn);

  charts.ShowLiveScatter();
  ASSERT_NE(charts.LiveScatter(), nullptr);
  // Nothing read from the controller: no factors' line, and the legend says why.
  EXPECT_EQ(charts.LiveScatter()->RatioPlot().line->count(), 0);
  EXPECT_EQ(charts.LiveScatter()->RatioPlot().line->name(), "Factors in force: not read yet");
  // The controller's set read as all 0: both trackbars at the top, factors 2.5 and 1.5.
  controllerSet.confirmed = true;
  charts.LiveScatter()->Refresh();
  // Drawn on the one line: 2.5 up to 2.5 ms of petrol time, 1.5 from 7 ms.
  ASSERT_GE(charts.LiveScatter()->RatioPlot().line->count(), 2);
  const QPointF left = charts.LiveScatter()->RatioPlot().line->at(0);
  EXPECT_NEAR(left.y(), GasRatioAt(Factors{2.5, 1.5}, left.x()), 1e-9);
  EXPECT_EQ(charts.LiveScatter()->RatioPlot().line->name(), "Factors in force");

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
