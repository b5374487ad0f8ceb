#include "hosts/qt/strip_lines_item.h"

#include <QChart>
#include <QPainter>
#include <QPen>
#include <QValueAxis>

namespace zav::qt {

namespace {

// Over the chart's background bands (its series), under its legend.
constexpr double kOverTheSeries = 4.5;

}  // namespace

StripLinesItem::StripLinesItem(QChart& chart, const QValueAxis& time)
    : QGraphicsItem(&chart), chart_(chart), time_(time), plot_(chart.plotArea()) {
  setZValue(kOverTheSeries);
  setAcceptedMouseButtons(Qt::NoButton);
  setAcceptHoverEvents(false);
}

void StripLinesItem::SetLines(std::vector<StripPolyline> lines) {
  lines_ = std::move(lines);
  update();
}

void StripLinesItem::FollowPlotArea() {
  if (chart_.plotArea() != plot_) {
    prepareGeometryChange();
    plot_ = chart_.plotArea();
  }
}

void StripLinesItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* /*option*/,
                           QWidget* /*widget*/) {
  const double seconds = time_.max() - time_.min();
  if (seconds <= 0.0 || plot_.isEmpty()) {
    return;
  }
  const double xScale = plot_.width() / seconds;  // pixels per second
  painter->save();
  painter->setClipRect(plot_);
  painter->setRenderHint(QPainter::Antialiasing, false);
  for (const StripPolyline& line : lines_) {
    const double span = line.axis->max() - line.axis->min();
    if (line.points.size() < 2 || span <= 0.0) {
      continue;
    }
    const double yScale = plot_.height() / span;  // pixels per unit of the axis
    pixels_.resize(line.points.size());
    for (qsizetype i = 0; i < line.points.size(); ++i) {
      const QPointF& point = line.points[i];
      pixels_[i] = QPointF(plot_.left() + (point.x() - time_.min()) * xScale,
                           plot_.bottom() - (point.y() - line.axis->min()) * yScale);
    }
    // A one-pixel cosmetic pen is drawn as plain lines, without stroking a polygon.
    QPen pen(line.colour, 1.0);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->drawPolyline(pixels_.constData(), static_cast<int>(pixels_.size()));
  }
  painter->restore();
}

}  // namespace zav::qt
