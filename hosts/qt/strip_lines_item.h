#pragma once
// The strip chart's lines, drawn by one item over the chart's plot area as plain one-pixel
// polylines. A line series of the chart would rebuild its outline (a stroked path, kept for
// mouse hit-testing) on every change of its points, which is most of a live redraw's cost;
// these lines take no mouse and need none.

#include <QColor>
#include <QGraphicsItem>
#include <QList>
#include <QPointF>
#include <vector>

class QChart;
class QValueAxis;

namespace zav::qt {

// A line in value coordinates: seconds across, the value up on its axis.
struct StripPolyline {
  QColor colour;
  const QValueAxis* axis = nullptr;  // the vertical axis it is read against
  QList<QPointF> points;
};

class StripLinesItem : public QGraphicsItem {
 public:
  // Drawn over `chart`'s plot area, seconds along `time`.
  StripLinesItem(QChart& chart, const QValueAxis& time);

  // Replaces the lines drawn; they show at the next paint.
  void SetLines(std::vector<StripPolyline> lines);
  // The plot area moved or changed size.
  void FollowPlotArea();

  QRectF boundingRect() const override { return plot_; }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  QChart& chart_;
  const QValueAxis& time_;
  QRectF plot_;  // the chart's plot area, in the chart's coordinates
  std::vector<StripPolyline> lines_;
  QList<QPointF> pixels_;  // kept between paints so a paint allocates nothing
};

}  // namespace zav::qt
