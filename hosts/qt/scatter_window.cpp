#include "hosts/qt/scatter_window.h"

#include <QChartView>
#include <QHBoxLayout>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "hosts/qt/chart_picture.h"
#include "hosts/qt/dialog_font.h"
#include "hosts/qt/keyboard.h"
#include "hosts/qt/strip_chart_view.h"

namespace zav::qt {

namespace {

// Points beyond this many in one plot are thinned evenly (a whole log of hours).
constexpr std::size_t kMostPoints = 40'000;

constexpr QSize kDefaultSize{109, 40};  // base units of the window's font

// A mark per cylinder, older and recent points alike: the colours tell old from recent, the
// marks tell the cylinders apart, also in a picture printed in grey.
constexpr std::array<QScatterSeries::MarkerShape, 4> kCylinderMarks{
    QScatterSeries::MarkerShapeCircle, QScatterSeries::MarkerShapeRectangle,
    QScatterSeries::MarkerShapeTriangle, QScatterSeries::MarkerShapeRotatedRectangle};

QScatterSeries* AddPoints(QChart* chart, int cylinder, const QColor& colour, qreal size,
                          const QString& name) {
  auto* series = new QScatterSeries(chart);
  series->setName(name);
  series->setColor(colour);
  series->setBorderColor(colour);
  series->setMarkerSize(size);
  series->setMarkerShape(kCylinderMarks[static_cast<std::size_t>(cylinder)]);
  chart->addSeries(series);
  return series;
}

ScatterPlot MakePlot(const QString& yTitle, const QString& lineName, QWidget* parent) {
  ScatterPlot plot;
  auto* chart = new QChart();
  // Beside the plot, one entry under the other: a row under it cuts nine entries short.
  chart->legend()->setAlignment(Qt::AlignRight);
  chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
  plot.x = new QValueAxis(chart);
  plot.x->setTitleText(QStringLiteral("Petrol time (ms)"));
  plot.y = new QValueAxis(chart);
  plot.y->setTitleText(yTitle);
  chart->addAxis(plot.x, Qt::AlignBottom);
  chart->addAxis(plot.y, Qt::AlignLeft);
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    // Paler than the strip chart's greens, but not so pale that the lightest goes white.
    const QColor pale = StripSeriesColour(4 + cylinder).lighter(130);
    plot.older[cylinder] =
        AddPoints(chart, cylinder, pale, 5.0, QStringLiteral("Cylinder %1").arg(cylinder + 1));
  }
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    plot.recent[cylinder] = AddPoints(chart, cylinder, QColor(0, 0, 255 - 40 * cylinder), 8.0,
                                      QStringLiteral("Cylinder %1, last 10 s").arg(cylinder + 1));
  }
  plot.line = new QLineSeries(chart);
  plot.line->setName(lineName);
  plot.line->setPen(QPen(QColor(0, 160, 0), 2.0));
  chart->addSeries(plot.line);
  for (QAbstractSeries* series : chart->series()) {
    series->attachAxis(plot.x);
    series->attachAxis(plot.y);
  }
  plot.view = new QChartView(chart, parent);
  return plot;
}

struct Bounds {
  double low = 0.0;
  double high = 0.0;
};

Bounds Padded(double low, double high, double least) {
  const double pad = std::max((high - low) * 0.1, least);
  return {std::max(low - pad, 0.0), high + pad};
}

}  // namespace

ScatterWindow::ScatterWindow(const std::deque<DecodedSample>& samples,
                             std::function<std::optional<Factors>()> factors, double recentSpan,
                             QWidget* owner)
    : QWidget(owner, Qt::Window),
      samples_(samples),
      factors_(std::move(factors)),
      span_(recentSpan),
      missingFactors_(QStringLiteral("Factors in force: not read yet")) {
  setAttribute(Qt::WA_DeleteOnClose);
  CloseOnEscape(*this);
  tabs_ = new QTabWidget(this);
  ratio_ =
      MakePlot(QStringLiteral("Gas time / petrol time"), QStringLiteral("Factors in force"), tabs_);
  gas_ = MakePlot(QStringLiteral("Gas time (ms)"), QStringLiteral("1:1"), tabs_);
  tabs_->addTab(ratio_.view, QStringLiteral("Gas/petrol ratio"));
  tabs_->addTab(gas_.view, QStringLiteral("Gas against petrol"));
  auto* save = new QPushButton(QStringLiteral("Save as PNG\u2026"), this);
  connect(save, &QPushButton::clicked, this, [this] {
    auto* view = static_cast<QChartView*>(tabs_->currentWidget());
    const QString title = windowTitle() + QLatin1Char(' ') + tabs_->tabText(tabs_->currentIndex());
    SaveChartPicture(*view, this, title, title);
  });
  auto* bar = new QHBoxLayout();
  bar->addStretch();
  bar->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(tabs_, 1);
  // The default size grows with the font, so the legend beside the plot keeps its room: 109
  // by 40 base units, 763 x 560 px in a 9-point desktop font.
  const BaseUnits base = MeasureBaseUnits(font());
  resize(kDefaultSize.width() * base.widthPx, kDefaultSize.height() * base.heightPx);
  Refresh();
}

void ScatterWindow::Refresh() {
  SampleRange range{0, samples_.size()};
  if (span_ > 0.0 && !samples_.empty()) {
    range = SamplesIn(samples_, samples_.back().seconds - span_, samples_.back().seconds);
  }
  const std::vector<ScatterPoint> points = ScatterPoints(samples_, range);
  const std::size_t stride = points.size() / kMostPoints + 1;
  std::array<QList<QPointF>, 8> ratios;
  std::array<QList<QPointF>, 8> gases;
  double most = 0.0;
  double shortest = 100.0;
  double longest = 0.0;
  double lowRatio = 10.0;
  double highRatio = 0.0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const ScatterPoint& point = points[i];
    if (!point.recent && i % stride != 0) {
      continue;
    }
    const auto set = static_cast<std::size_t>(point.cylinder + (point.recent ? 4 : 0));
    ratios[set].append(QPointF(point.petrolMs, point.Ratio()));
    gases[set].append(QPointF(point.petrolMs, point.gasMs));
    most = std::max({most, double{point.petrolMs}, double{point.gasMs}});
    shortest = std::min(shortest, double{point.petrolMs});
    longest = std::max(longest, double{point.petrolMs});
    lowRatio = std::min(lowRatio, double{point.Ratio()});
    highRatio = std::max(highRatio, double{point.Ratio()});
  }
  for (std::size_t set = 0; set < 8; ++set) {
    QScatterSeries* ratio = set < 4 ? ratio_.older[set] : ratio_.recent[set - 4];
    QScatterSeries* gas = set < 4 ? gas_.older[set] : gas_.recent[set - 4];
    ratio->replace(ratios[set]);
    gas->replace(gases[set]);
  }
  const Bounds petrol = points.empty() ? Bounds{0.0, 10.0} : Padded(shortest, longest, 0.2);
  QList<QPointF> line;
  const std::optional<Factors> factors = factors_ ? factors_() : std::nullopt;
  if (factors) {
    for (const LinePoint& corner : FactorLinePoints(*factors, petrol.low, petrol.high)) {
      line << QPointF(corner.petrolMs, corner.ratio);
      lowRatio = std::min(lowRatio, corner.ratio);
      highRatio = std::max(highRatio, corner.ratio);
    }
  }
  ratio_.line->replace(line);
  ratio_.line->setName(factors ? QStringLiteral("Factors in force") : missingFactors_);
  const double top = points.empty() ? 10.0 : most * 1.1;
  gas_.line->replace(QList<QPointF>{QPointF(0.0, 0.0), QPointF(top, top)});
  ratio_.x->setRange(petrol.low, petrol.high);
  const Bounds ratio = highRatio > 0.0 ? Padded(lowRatio, highRatio, 0.1) : Bounds{0.0, 3.0};
  ratio_.y->setRange(ratio.low, ratio.high);
  gas_.x->setRange(0.0, top);
  gas_.y->setRange(0.0, top);
}

}  // namespace zav::qt
