#pragma once
// What a dialog's window procedure needs to find its host and its record; shared by the
// modal dialogs and the windows that are not modal.

#include <windows.h>

#include "hosts/win32/open_dialog.h"

namespace zav {
class Win32Desktop;
}

namespace zav::win32 {

struct DialogLink {
  Win32Desktop* desktop = nullptr;
  OpenDialog* dialog = nullptr;
};

// A window that is not modal: its record and its link, kept together by the host.
struct ModelessWindow {
  OpenDialog dialog;
  DialogLink link;
};

// The procedure of every dialog the host creates; its creation parameter is a DialogLink.
INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace zav::win32
