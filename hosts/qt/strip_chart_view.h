#pragma once
// A strip chart of samples against time: injection times (ms) on the left axis, RPM,
// pressures, temperature and lambda on the right, with the Gas and Petrol states as
// background bands.

#include <QChartView>
#include <array>
#include <deque>

#include "datalog/strip_view.h"

class QAreaSeries;
class QLineSeries;
class QValueAxis;

namespace zav::qt {

class StripChartView : public QChartView {
 public:
  explicit StripChartView(QWidget* parent = nullptr);

  // Draws the samples from `from` to `to` (s).
  void ShowSpan(const std::deque<DecodedSample>& samples, double from, double to);
  void SetSeriesVisible(int index, bool visible);
  // The legend under the plot names the background bands (Petrol, Gas); with `whole` it
  // names every series too, as a saved picture needs.
  void ShowWholeLegend(bool whole);

  QLineSeries* Series(int index) const { return series_[static_cast<std::size_t>(index)]; }
  QValueAxis* TimeAxis() const { return time_; }
  QValueAxis* TimesAxis() const { return times_; }
  QValueAxis* EngineAxis() const { return engine_; }

 private:
  QAreaSeries* AddBand(const QColor& colour, const char* name);
  void FillBand(QAreaSeries* band, const std::deque<DecodedSample>& samples, SampleRange range,
                std::uint16_t status, double top);

  std::array<QLineSeries*, kStripSeriesCount> series_{};
  QAreaSeries* gasBand_ = nullptr;
  QAreaSeries* petrolBand_ = nullptr;
  QValueAxis* time_ = nullptr;
  QValueAxis* times_ = nullptr;   // ms
  QValueAxis* engine_ = nullptr;  // RPM, mBar, C, mV
};

// The colour each strip series is drawn in.
QColor StripSeriesColour(int index);

}  // namespace zav::qt
