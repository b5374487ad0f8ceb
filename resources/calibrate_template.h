#pragma once
// Template 3300: the Calibrate window. Along the top a row per drive (its log, "Choose…" and
// "Record on …") and the window's own "Switch"; under it the current instruction and the
// messages about the logs; then the table of load cells with the verdict and "Apply to
// Parameters…" under it on the left, and the chart of needed ratios on the right, which
// grows with the window.

#include "resources/dialog_template.h"

namespace zav {

inline constexpr int kCalibrateTemplateId = 3300;
inline constexpr int kCalibratePetrolLabel = 3401;
inline constexpr int kCalibratePetrolLog = 3402;
inline constexpr int kCalibratePetrolChoose = 3403;
inline constexpr int kCalibratePetrolRecord = 3404;
inline constexpr int kCalibrateGasLabel = 3405;
inline constexpr int kCalibrateGasLog = 3406;
inline constexpr int kCalibrateGasChoose = 3407;
inline constexpr int kCalibrateGasRecord = 3408;
inline constexpr int kCalibrateSwitch = 3409;
inline constexpr int kCalibrateGuidance = 3410;
inline constexpr int kCalibrateMessage = 3411;
inline constexpr int kCalibrateTable = 3412;
inline constexpr int kCalibrateVerdict = 3413;
inline constexpr int kCalibrateApply = 3414;
inline constexpr int kCalibrateChart = 3415;

const DialogTemplate& CalibrateTemplate();

}  // namespace zav
