#pragma once
// The window class of canvas controls: a surface the dialog's procedure draws on. The
// control tells its dialog of paints, resizes, wheel turns, clicks and keys by sending it
// kCanvasControlEvent with the DialogEvent in lParam.

#include <windows.h>

namespace zav::win32 {

inline constexpr const wchar_t* kCanvasControlClass = L"ZavCanvasControl";
inline constexpr UINT kCanvasControlEvent = WM_APP + 0x31;

// Registers the class once per process; later calls do nothing.
void RegisterCanvasControlClass();

}  // namespace zav::win32
