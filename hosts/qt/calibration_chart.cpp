#include "hosts/qt/calibration_chart.h"

#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

namespace zav::qt {

namespace {

const QColor kNeededColour(0, 0, 200);
const QColor kLeftOutColour(170, 170, 200);
const QColor kInForceColour(200, 0, 0);
const QColor kProposedColour(0, 160, 0);

QScatterSeries* AddCells(QChart* chart, const QColor& colour, const QString& name) {
  auto* series = new QScatterSeries(chart);
  series->setName(name);
  series->setColor(colour);
  series->setBorderColor(colour);
  series->setMarkerSize(9.0);
  chart->addSeries(series);
  return series;
}

QLineSeries* AddLine(QChart* chart, const QColor& colour, Qt::PenStyle style, const QString& name) {
  auto* line = new QLineSeries(chart);
  line->setName(name);
  line->setPen(QPen(colour, 2.0, style));
  chart->addSeries(line);
  return line;
}

// The factors' line by the program's one model of it, over the petrol times shown.
void DrawFactors(QLineSeries& line, Factors factors, double fromMs, double toMs) {
  line.clear();
  for (const LinePoint& corner : FactorLinePoints(factors, fromMs, toMs)) {
    line << QPointF(corner.petrolMs, corner.ratio);
  }
}

}  // namespace

CalibrationChart MakeCalibrationChart(QWidget* parent) {
  CalibrationChart chart;
  auto* qchart = new QChart();
  qchart->legend()->setAlignment(Qt::AlignBottom);
  chart.x = new QValueAxis(qchart);
  chart.x->setTitleText(QStringLiteral("Petrol time on petrol (ms)"));
  chart.y = new QValueAxis(qchart);
  chart.y->setTitleText(QStringLiteral("Gas/petrol ratio"));
  qchart->addAxis(chart.x, Qt::AlignBottom);
  qchart->addAxis(chart.y, Qt::AlignLeft);
  chart.leftOut = AddCells(qchart, kLeftOutColour, QStringLiteral("Too few samples"));
  chart.needed = AddCells(qchart, kNeededColour, QStringLiteral("Needed"));
  chart.inForce = AddLine(qchart, kInForceColour, Qt::DashLine, QStringLiteral("In force"));
  chart.proposed = AddLine(qchart, kProposedColour, Qt::SolidLine, QStringLiteral("Proposed"));
  for (QAbstractSeries* series : qchart->series()) {
    series->attachAxis(chart.x);
    series->attachAxis(chart.y);
  }
  chart.view = new QChartView(qchart, parent);
  chart.view->setRenderHint(QPainter::Antialiasing);
  chart.view->setMinimumSize(360, 280);
  return chart;
}

void ShowOnChart(CalibrationChart& chart, const Calibration& calibration) {
  chart.needed->clear();
  chart.leftOut->clear();
  chart.inForce->clear();
  chart.proposed->clear();
  double lowMs = 10.0;
  double highMs = 0.0;
  double lowRatio = 3.0;
  double highRatio = 0.0;
  for (const LoadCell& cell : calibration.cells) {
    (cell.Covered() ? chart.needed : chart.leftOut)->append(cell.petrolMs, cell.NeededRatio());
    lowMs = std::min(lowMs, cell.petrolMs);
    highMs = std::max(highMs, cell.petrolMs);
    lowRatio = std::min(lowRatio, cell.NeededRatio());
    highRatio = std::max(highRatio, cell.NeededRatio());
  }
  if (highMs < lowMs) {
    lowMs = 2.0;
    highMs = 8.0;
    lowRatio = 1.0;
    highRatio = 2.5;
  }
  lowMs = std::max(lowMs - 0.5, 0.0);
  highMs += 0.5;
  if (const std::optional<Proposal>& proposal = calibration.proposal) {
    DrawFactors(*chart.inForce, proposal->currentFactors, lowMs, highMs);
    DrawFactors(*chart.proposed, proposal->proposedFactors, lowMs, highMs);
    for (const QLineSeries* line : {chart.inForce, chart.proposed}) {
      for (const QPointF& point : line->points()) {
        lowRatio = std::min(lowRatio, point.y());
        highRatio = std::max(highRatio, point.y());
      }
    }
  }
  chart.x->setRange(lowMs, highMs);
  chart.y->setRange(std::max(lowRatio - 0.1, 0.0), highRatio + 0.1);
}

}  // namespace zav::qt
