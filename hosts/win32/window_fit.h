#pragma once
// Windows on the screen they open on: a dialog laid out for the dialog font at 96 dpi may
// be larger than the screen at a high DPI (the main window is 1,340 pixels wide at 144 dpi),
// and windows that are not modal would all open at their template's place, one on another.

#include <windows.h>

#include "resources/dialog_template.h"

namespace zav::win32 {

// The dialog font's size (points) at which the dialog's window fits the work area of the
// monitor `beside` is on (the primary one without it): kDialogFontPoints while it fits there,
// else smaller, down to a size that stays readable; the layout is the same at every size.
int FittingFontPoints(const DialogTemplate& dialog, HWND beside);

// The dialog font at `points` on the screen, as the dialog manager makes it from a template;
// the caller deletes it.
HFONT CreateDialogFont(int points);

// Moves the window into the work area of its monitor, as much of it as fits: its top left
// corner first, so that the caption and the menu stay reachable.
void KeepWithinWorkArea(HWND window);

// Places a window that is not modal one caption's height below and right of `last` (the
// window of that kind opened before it, if still open); back at the work area's top left
// corner when it would leave the work area.
void CascadeFrom(HWND window, HWND last);

}  // namespace zav::win32
