#include "hosts/qt/strip_chart_view.h"

#include <QAreaSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "link/wire.h"

namespace zav::qt {

namespace {

// Slices a span is thinned to: about one per pixel column of a wide window.
constexpr std::size_t kSlices = 1200;

constexpr std::array<QRgb, kStripSeriesCount> kColours{
    0xd00000, 0xff4040, 0x901010, 0xff8080,  // BA_1 to BA_4: reds
    0x008000, 0x20b020, 0x005000, 0x60d060,  // GAS_1 to GAS_4: greens
    0x000000, 0x0050ff, 0xc000c0, 0xff8000, 0xa0a000};

// A round number at or above `value`, for an axis end.
double NiceTop(double value, double least) {
  value = std::max(value, least);
  const double magnitude = std::pow(10.0, std::floor(std::log10(value)));
  for (const double step : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (step * magnitude >= value) {
      return step * magnitude;
    }
  }
  return 10.0 * magnitude;
}

}  // namespace

QColor StripSeriesColour(int index) {
  return QColor(kColours[static_cast<std::size_t>(index)]);
}

StripChartView::StripChartView(QWidget* parent) : QChartView(parent) {
  auto* chart = new QChart();
  chart->legend()->setAlignment(Qt::AlignBottom);
  time_ = new QValueAxis(chart);
  time_->setTitleText(QStringLiteral("s"));
  time_->setLabelFormat(QStringLiteral("%.0f"));
  times_ = new QValueAxis(chart);
  times_->setTitleText(QStringLiteral("ms"));
  engine_ = new QValueAxis(chart);
  engine_->setTitleText(QStringLiteral("RPM, mBar, C, mV"));
  engine_->setLabelFormat(QStringLiteral("%.0f"));
  chart->addAxis(time_, Qt::AlignBottom);
  chart->addAxis(times_, Qt::AlignLeft);
  chart->addAxis(engine_, Qt::AlignRight);
  // The view made a chart of its own; it lets go of it without deleting it.
  QChart* const madeByTheView = this->chart();
  setChart(chart);
  delete madeByTheView;
  gasBand_ = AddBand(QColor(200, 255, 200), "Gas");
  petrolBand_ = AddBand(QColor(255, 225, 225), "Petrol");
  for (int i = 0; i < kStripSeriesCount; ++i) {
    const StripSeries& entry = kStripSeriesTable[static_cast<std::size_t>(i)];
    auto* series = new QLineSeries(chart);
    series->setName(
        QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
    // A cosmetic one-pixel pen is drawn as plain lines; a wider one is stroked into a polygon
    // for every segment, every tick.
    QPen pen(StripSeriesColour(i), 1.0);
    pen.setCosmetic(true);
    series->setPen(pen);
    chart->addSeries(series);
    series->attachAxis(time_);
    series->attachAxis(entry.injection ? times_ : engine_);
    series_[static_cast<std::size_t>(i)] = series;
  }
  ShowWholeLegend(false);  // the window's check boxes name the series in their colours
  setRenderHint(QPainter::Antialiasing, false);
  // The whole plot moves with every sample: repaint it whole rather than work out regions.
  setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
  chart->setBackgroundRoundness(0.0);
  chart->setDropShadowEnabled(false);
  time_->setTickType(QValueAxis::TicksDynamic);
  time_->setTickAnchor(0.0);
}

QAreaSeries* StripChartView::AddBand(const QColor& colour, const char* name) {
  auto* upper = new QLineSeries(chart());
  auto* band = new QAreaSeries(upper);
  band->setName(QString::fromLatin1(name));
  band->setBrush(colour);
  band->setPen(Qt::NoPen);
  chart()->addSeries(band);
  band->attachAxis(time_);
  band->attachAxis(times_);
  return band;
}

void StripChartView::FillBand(QAreaSeries* band, const std::deque<DecodedSample>& samples,
                              SampleRange range, std::uint16_t status, double top) {
  QList<QPointF> points;
  for (const StateSpan& span : SpansInState(samples, range, status)) {
    points << QPointF(span.from, 0.0) << QPointF(span.from, top) << QPointF(span.to, top)
           << QPointF(span.to, 0.0);
  }
  band->upperSeries()->replace(points);
}

void StripChartView::ShowSpan(const std::deque<DecodedSample>& samples, double from, double to) {
  const SampleRange range = SamplesIn(samples, from, to);
  float timesTop = 0.0f;
  float engineTop = 0.0f;
  for (std::size_t i = 0; i < series_.size(); ++i) {
    const StripSeries& entry = kStripSeriesTable[i];
    QList<QPointF> points;
    for (const ChartPoint& point : ThinnedColumn(samples, range, entry.column, kSlices)) {
      points.append(QPointF(point.seconds, point.value));
      if (series_[i]->isVisible()) {
        float& top = entry.injection ? timesTop : engineTop;
        top = std::max(top, point.value);
      }
    }
    series_[i]->replace(points);
  }
  const double timesEnd = NiceTop(timesTop * 1.1, 1.0);
  // Axes change only when their ends do: each change lays the chart out afresh.
  if (engine_->max() != NiceTop(engineTop * 1.1, 100.0)) {
    engine_->setRange(0.0, NiceTop(engineTop * 1.1, 100.0));
  }
  if (times_->max() != timesEnd) {
    times_->setRange(0.0, timesEnd);
  }
  time_->setRange(from, to);
  // Ticks on round seconds, about six across, whatever the span.
  if (const double interval = NiceTop((to - from) / 6.0, 1.0); time_->tickInterval() != interval) {
    time_->setTickInterval(interval);
  }
  FillBand(gasBand_, samples, range, kStatusGas, timesEnd);
  FillBand(petrolBand_, samples, range, kStatusPetrol, timesEnd);
}

void StripChartView::ShowWholeLegend(bool whole) {
  for (QLineSeries* series : series_) {
    for (QLegendMarker* marker : chart()->legend()->markers(series)) {
      marker->setVisible(whole);
    }
  }
}

void StripChartView::SetSeriesVisible(int index, bool visible) {
  series_[static_cast<std::size_t>(index)]->setVisible(visible);
}

}  // namespace zav::qt
