#pragma once
// How a following strip chart moves on with time: the plot and the time axis under it, as
// drawn, move left by the whole pixels the start moved (see PixelTimeScale), and only what
// is new is painted: the newest pixels at the right end, the time labels that come and go at
// both ends. A redraw that moved 1/30 of a 30 s plot paints some 1/10 of it.

#include <array>
#include <optional>

#include "charts/strip_chart.h"

namespace zav {

struct StripMove {
  PixelBox moved;                   // the pixels that move
  int dx = 0;                       // px across; never right
  std::array<PixelBox, 2> painted;  // to paint again once moved (empty: nothing)
};

// How the chart drawn as `drawn` becomes the chart of `shown`, the same frame aligned to the
// same pixels; none when it must be painted anew (not aligned, moved back or too far).
std::optional<StripMove> StripMoveTo(const StripLayout& drawn, const StripShown& shown);

}  // namespace zav
