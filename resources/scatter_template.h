#pragma once
// Template 3400: "Petrol against gas": the plot chosen (the gas/petrol ratio, or gas time
// against petrol time) and Save as PNG along the top, the chart under them, growing with the
// window.

#include "resources/dialog_template.h"

namespace zav {

inline constexpr int kScatterTemplateId = 3400;
inline constexpr int kScatterPlotList = 3401;
inline constexpr int kScatterSaveButton = 3402;
inline constexpr int kScatterCanvas = 3403;

const DialogTemplate& ScatterTemplate();

}  // namespace zav
