#pragma once
// The Calibrate window's chart, drawn on any canvas: the needed gas/petrol ratio of each load
// cell against its petrol time (cells with too few samples paler), the factors' line in
// force dashed and the proposed one solid, both by the program's one model of the line
// (params/gas_ratio_line.h), and a legend under the plot.

#include "calibration/calibration.h"
#include "platform/canvas.h"

namespace zav {

inline constexpr Colour kNeededColour{0, 0, 200};
inline constexpr Colour kLeftOutColour{170, 170, 200};
inline constexpr Colour kInForceColour{200, 0, 0};
inline constexpr Colour kProposedColour{0, 160, 0};

// The petrol times (ms) and ratios the chart spans.
struct CalibrationChartRange {
  double fromMs = 0.0;
  double toMs = 1.0;
  double lowRatio = 0.0;
  double highRatio = 1.0;
};

// The cells with half a millisecond either side and the lines with 0.1 above and below; a
// calibration without cells spans 1.5 to 8.5 ms and 0.9 to 2.6.
CalibrationChartRange ChartRangeOf(const Calibration& calibration);

// Returns the plot's box (px).
PixelBox DrawCalibrationChart(Canvas& canvas, PixelSize size, const Calibration& calibration);

}  // namespace zav
