#pragma once
// Template 3200: a strip chart window (the live chart, or a log's chart): the span, Pause,
// Petrol against gas and Save as PNG along the top, the chart, and a scroll bar under it to
// go back through every sample. Both grow with the window.

#include "resources/dialog_template.h"

namespace zav {

inline constexpr int kStripChartTemplateId = 3200;
inline constexpr int kStripSpanList = 3201;
inline constexpr int kStripPauseButton = 3202;
inline constexpr int kStripScatterButton = 3203;
inline constexpr int kStripSaveButton = 3204;
inline constexpr int kStripCanvas = 3205;
inline constexpr int kStripScrollBar = 3206;

const DialogTemplate& StripChartTemplate();

}  // namespace zav
