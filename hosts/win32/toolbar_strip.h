#pragma once
// The toolbar's buttons: the 16 x 16 images of resources/toolbar, compiled into the program
// as resources (ids kToolbarImageResource + index), decoded with GDI+ and drawn as large as
// 16 pixels at 96 dpi are at the screen's DPI (24 at 144 dpi); a click sends the button's
// command, and the tooltip names the command and its key.

#include <windows.h>

#include <span>

#include "resources/menu.h"

namespace zav::win32 {

inline constexpr int kToolbarImageResource = 201;  // the first image, open.png

void AddToolbarButtons(HWND toolbar, std::span<const ToolbarButton> buttons);
// The text for a tooltip's TTN_GETDISPINFO; false when the notice is not a toolbar's.
bool FillToolbarTip(LPARAM notice);

}  // namespace zav::win32
