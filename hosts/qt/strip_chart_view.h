#pragma once
// A strip chart of samples against time: injection times (ms) on the left axis, RPM,
// pressures, temperature and lambda on the right, with the Petrol, Gas and Low RPM states as
// background bands named in the legend.
//
// A line cannot break, so each series is held as one line per unbroken run of samples
// (see UnbrokenRuns): where no samples came, the chart shows nothing rather than a straight
// join. The lines are kept in a pool per series that only grows (to kMostRuns at most); a
// redraw refills them and empties those it does not need, so no chart object is made or
// dropped per tick. They hold the points; one item draws them all (StripLinesItem), and
// an empty line per series in the chart stands for it in the legend.

#include <QChartView>
#include <array>
#include <deque>
#include <vector>

#include "datalog/strip_view.h"

class QAreaSeries;
class QLineSeries;
class QValueAxis;

namespace zav::qt {

class StripLinesItem;

class StripChartView : public QChartView {
 public:
  explicit StripChartView(QWidget* parent = nullptr);

  // Draws the samples from `from` to `to` (s).
  void ShowSpan(const std::deque<DecodedSample>& samples, double from, double to);
  void SetSeriesVisible(int index, bool visible);
  // The legend under the plot names the background bands (Petrol, Gas, Low RPM); with `whole`
  // it names every series shown too, as a saved picture needs.
  void ShowWholeLegend(bool whole);

  // The line of a series' first unbroken run, the one its legend entry stands for.
  QLineSeries* Series(int index) const { return Line(index, 0); }
  // The line of a series' `run`-th unbroken run of the span shown; nullptr beyond the pool.
  QLineSeries* Line(int index, std::size_t run) const;
  // Unbroken runs in the span shown; lines of each series beyond them are empty.
  std::size_t RunsShown() const { return runsShown_; }
  QValueAxis* TimeAxis() const { return time_; }
  QValueAxis* TimesAxis() const { return times_; }
  QValueAxis* EngineAxis() const { return engine_; }

 private:
  QAreaSeries* AddBand(const QColor& colour, std::uint16_t status);
  void FillBand(QAreaSeries* band, const std::deque<DecodedSample>& samples, SampleRange range,
                std::uint16_t status, double top);
  QLineSeries* LineFor(int index, std::size_t run);
  void ShowLegendEntries(int index);

  std::array<std::vector<QLineSeries*>, kStripSeriesCount> lines_;  // per series, per run
  std::array<QLineSeries*, kStripSeriesCount> legendLines_{};       // empty, in the chart
  StripLinesItem* linesItem_ = nullptr;
  std::array<bool, kStripSeriesCount> shown_{};
  std::size_t runsShown_ = 0;
  bool wholeLegend_ = false;
  QAreaSeries* petrolBand_ = nullptr;
  QAreaSeries* gasBand_ = nullptr;
  QAreaSeries* lowRpmBand_ = nullptr;
  QValueAxis* time_ = nullptr;
  QValueAxis* times_ = nullptr;   // ms
  QValueAxis* engine_ = nullptr;  // RPM, mBar, C, mV
};

// The colour each strip series is drawn in.
QColor StripSeriesColour(int index);

}  // namespace zav::qt
