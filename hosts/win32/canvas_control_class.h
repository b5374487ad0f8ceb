#pragma once
// The window class of canvas controls: a surface the dialog's procedure draws on. The
// control tells its dialog of paints, resizes, wheel turns, clicks and keys by sending it
// kCanvasControlEvent with the DialogEvent in lParam; with a paint, wParam points to the
// PaintedParts.

#include <windows.h>

#include <vector>

#include "platform/canvas.h"

namespace zav::win32 {

inline constexpr const wchar_t* kCanvasControlClass = L"ZavCanvasControl";
inline constexpr UINT kCanvasControlEvent = WM_APP + 0x31;

// The rectangles a WM_PAINT repaints (px): a moved chart's two strips at its two ends are
// two, not the box round them.
using PaintedParts = std::vector<PixelBox>;

// Registers the class once per process; later calls do nothing.
void RegisterCanvasControlClass();

}  // namespace zav::win32
