#pragma once
// Log → "Calibrate…": the calibration assistant's window, with what it may ask of the
// program (the log dialog, a guided recording per fuel, the registers, the Parameters
// dialog with its trackbars placed).

#include "platform/desktop.h"

namespace zav {

struct Program;

inline constexpr const char* kCalibrateText = "&Calibrate\u2026";  // C its mnemonic

// The menu item; called when the main window starts, after the other items of "Log".
void AddCalibrationCommand(Program& program, WindowRef window);

}  // namespace zav
