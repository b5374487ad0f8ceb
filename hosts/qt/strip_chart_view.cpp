#include "hosts/qt/strip_chart_view.h"

#include <QAreaSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "hosts/qt/strip_lines_item.h"
#include "link/wire.h"
#include "texts/live_text.h"

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

QString NameOf(const StripSeries& entry) {
  return QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
}

// A line of series `index`, named and coloured as the legend shows it.
QLineSeries* NewLine(int index, QObject* parent) {
  auto* line = new QLineSeries(parent);
  line->setName(NameOf(kStripSeriesTable[static_cast<std::size_t>(index)]));
  QPen pen(StripSeriesColour(index), 1.0);
  pen.setCosmetic(true);
  line->setPen(pen);
  return line;
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
  petrolBand_ = AddBand(QColor(255, 225, 225), kStatusPetrol);
  gasBand_ = AddBand(QColor(200, 255, 200), kStatusGas);
  // The controller's own "Low RPM" state: below its switch-over speed it injects no gas.
  lowRpmBand_ = AddBand(QColor(215, 225, 250), kStatusLowRpm);
  shown_.fill(true);
  for (int i = 0; i < kStripSeriesCount; ++i) {
    QLineSeries* legend = NewLine(i, chart);
    chart->addSeries(legend);
    legend->attachAxis(time_);
    legend->attachAxis(kStripSeriesTable[static_cast<std::size_t>(i)].injection ? times_ : engine_);
    legendLines_[static_cast<std::size_t>(i)] = legend;
    LineFor(i, 0);
    ShowLegendEntries(i);
  }
  linesItem_ = new StripLinesItem(*chart, *time_);
  connect(chart, &QChart::plotAreaChanged, this, [this] { linesItem_->FollowPlotArea(); });
  setRenderHint(QPainter::Antialiasing, false);
  // No item here leaves the painter changed or draws past its bounds antialiased.
  setOptimizationFlags(QGraphicsView::DontSavePainterState |
                       QGraphicsView::DontAdjustForAntialiasing);
  chart->setBackgroundRoundness(0.0);
  chart->setDropShadowEnabled(false);
  time_->setTickType(QValueAxis::TicksDynamic);
  time_->setTickAnchor(0.0);
}

QAreaSeries* StripChartView::AddBand(const QColor& colour, std::uint16_t status) {
  auto* upper = new QLineSeries(chart());
  auto* band = new QAreaSeries(upper);
  const std::string_view name = StatusText(status);
  band->setName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  band->setBrush(colour);
  band->setPen(Qt::NoPen);
  chart()->addSeries(band);
  band->attachAxis(time_);
  band->attachAxis(times_);
  return band;
}

QLineSeries* StripChartView::Line(int index, std::size_t run) const {
  const std::vector<QLineSeries*>& lines = lines_[static_cast<std::size_t>(index)];
  return run < lines.size() ? lines[run] : nullptr;
}

QLineSeries* StripChartView::LineFor(int index, std::size_t run) {
  std::vector<QLineSeries*>& lines = lines_[static_cast<std::size_t>(index)];
  while (lines.size() <= run) {
    QLineSeries* line = NewLine(index, this);
    line->setVisible(shown_[static_cast<std::size_t>(index)]);
    lines.push_back(line);
  }
  return lines[run];
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
  const std::vector<SampleRange> runs = UnbrokenRuns(samples, range);
  float timesTop = 0.0f;
  float engineTop = 0.0f;
  std::vector<StripPolyline> drawn;
  for (int i = 0; i < kStripSeriesCount; ++i) {
    const StripSeries& entry = kStripSeriesTable[static_cast<std::size_t>(i)];
    const bool shown = shown_[static_cast<std::size_t>(i)];
    const auto thinned = ThinnedRuns(samples, runs, entry.column, kSlices);
    float& top = entry.injection ? timesTop : engineTop;
    for (std::size_t run = 0; run < thinned.size(); ++run) {
      QList<QPointF> points;
      points.reserve(static_cast<qsizetype>(thinned[run].size()));
      for (const ChartPoint& point : thinned[run]) {
        points.append(QPointF(point.seconds, point.value));
        top = shown ? std::max(top, point.value) : top;
      }
      LineFor(i, run)->replace(points);
      if (shown) {
        drawn.push_back({StripSeriesColour(i), entry.injection ? times_ : engine_, points});
      }
    }
    for (std::size_t run = thinned.size(); run < lines_[static_cast<std::size_t>(i)].size();
         ++run) {
      if (Line(i, run)->count() > 0) {
        Line(i, run)->clear();
      }
    }
  }
  runsShown_ = runs.size();
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
  FillBand(petrolBand_, samples, range, kStatusPetrol, timesEnd);
  FillBand(gasBand_, samples, range, kStatusGas, timesEnd);
  FillBand(lowRpmBand_, samples, range, kStatusLowRpm, timesEnd);
  linesItem_->SetLines(std::move(drawn));
}

void StripChartView::ShowLegendEntries(int index) {
  // One entry per series, and only in the whole legend: the window's check boxes name the
  // lines in their colours. A line shown again gets its entry back from the chart, so this
  // runs after every change of visibility.
  const bool entry = wholeLegend_ && shown_[static_cast<std::size_t>(index)];
  for (QLegendMarker* marker :
       chart()->legend()->markers(legendLines_[static_cast<std::size_t>(index)])) {
    marker->setVisible(entry);
  }
}

void StripChartView::ShowWholeLegend(bool whole) {
  wholeLegend_ = whole;
  // A row under the plot has room for the bands, not for every series: beside it, one under
  // the other, no name is cut.
  chart()->legend()->setAlignment(whole ? Qt::AlignRight : Qt::AlignBottom);
  for (int i = 0; i < kStripSeriesCount; ++i) {
    ShowLegendEntries(i);
  }
}

void StripChartView::SetSeriesVisible(int index, bool visible) {
  shown_[static_cast<std::size_t>(index)] = visible;
  for (QLineSeries* line : lines_[static_cast<std::size_t>(index)]) {
    line->setVisible(visible);
  }
  legendLines_[static_cast<std::size_t>(index)]->setVisible(visible);
  ShowLegendEntries(index);
}

}  // namespace zav::qt
