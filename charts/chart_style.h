#pragma once
// The look every chart shares: paper, ink and grid, and the spacing round the plot (px).

#include "platform/canvas.h"

namespace zav::chart_style {

inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kGrid{225, 225, 225};
inline constexpr int kMarginPx = 6;   // round the chart
inline constexpr int kTickPx = 4;     // a tick mark's length
inline constexpr int kAxisGapPx = 8;  // between an axis's labels and what comes next

}  // namespace zav::chart_style
