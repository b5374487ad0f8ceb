#pragma once
// The Calibrate window's chart: the needed gas/petrol ratio of each load cell against its
// petrol time (cells left out of the fit paler), with the factors' line in force and the
// proposed one, each drawn as the petrol-against-gas view draws it.

#include "calibration/calibration.h"
#include "datalog/factor_line.h"

class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QWidget;

namespace zav::qt {

struct CalibrationChart {
  QChartView* view = nullptr;
  QScatterSeries* needed = nullptr;  // cells in the fit
  QScatterSeries* leftOut = nullptr;
  QLineSeries* inForce = nullptr;
  QLineSeries* proposed = nullptr;
  QValueAxis* x = nullptr;
  QValueAxis* y = nullptr;
};

CalibrationChart MakeCalibrationChart(QWidget* parent);

// Shows `calibration`; an empty chart without cells.
void ShowOnChart(CalibrationChart& chart, const Calibration& calibration);

}  // namespace zav::qt
