#pragma once
// The chart of the Parameters dialog, drawn at fixed pixel positions of the dialog's client
// area: a frame, the red reference line "BA" and the green line "GAS" whose ends follow the
// trackbars.

#include "params/parameter_formula.h"
#include "platform/desktop.h"

namespace zav {

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kChartRed{255, 0, 0};
inline constexpr Colour kChartGreen{0, 255, 0};

// The frame (with the canvas's current pen and fill, so it wipes the old GAS line), the
// red reference line and both captions. Leaves the pen black, as a fresh canvas has it.
void DrawChartFrame(Canvas& canvas);

// The GAS line in green; the pen is black again afterwards.
void DrawGasLine(Canvas& canvas, GasLine line);

}  // namespace zav
