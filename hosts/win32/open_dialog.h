#pragma once
// A dialog while it runs: its window, its procedure and what the host added around it.

#include <windows.h>

#include <memory>

#include "hosts/win32/gdi_canvas.h"
#include "hosts/win32/status_bar.h"
#include "hosts/win32/window_menus.h"
#include "platform/desktop.h"

namespace zav::win32 {

struct OpenDialog {
  WindowRef ref;
  HWND window = nullptr;
  HWND owner = nullptr;
  DialogProc proc;
  const DialogTemplate* dialogTemplate = nullptr;
  bool modeless = false;  // opened with OpenWindow: the loops of other dialogs deliver its events
  bool ended = false;
  int result = 0;
  bool initialised = false;  // set-up notifications before Init reach no procedure
  WindowMenus menus;
  StatusBar statusBar;
  std::unique_ptr<GdiCanvas> canvas;
};

}  // namespace zav::win32
