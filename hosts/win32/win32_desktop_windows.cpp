// The windows that are not modal (the chart windows, the Calibrate window): created from
// their templates as every dialog is, but with no loop of their own. Whichever modal loop
// runs delivers their events and passes their keys to their own menus and dialog manager;
// their owner stays usable. An ended window is hidden at once and destroyed by the loop
// between messages; a modal dialog that ends takes the windows it owns with it.

#include <algorithm>

#include "hosts/win32/dialog_link.h"
#include "hosts/win32/dialog_memory.h"
#include "hosts/win32/win32_desktop.h"
#include "hosts/win32/window_fit.h"

namespace zav {

using win32::OpenDialog;

WindowRef Win32Desktop::OpenWindow(const DialogTemplate& dialogTemplate, WindowRef owner,
                                   DialogProc proc) {
  auto opened = std::make_unique<win32::ModelessWindow>();
  OpenDialog& dialog = opened->dialog;
  dialog.ref = WindowRef{nextWindowId_++};
  dialog.owner = WindowOf(owner);
  dialog.proc = std::move(proc);
  dialog.dialogTemplate = &dialogTemplate;
  dialog.modeless = true;
  opened->link = {this, &dialog};
  const win32::TemplateWords words =
      win32::DialogTemplateWords(dialogTemplate, dialog.owner == nullptr,
                                 win32::FittingFontPoints(dialogTemplate, dialog.owner));
  open_.insert(open_.begin(), &dialog);  // never the innermost modal dialog
  modeless_.push_back(std::move(opened));
  // Init is delivered inside the creation (WM_INITDIALOG), which also shows the window.
  const HWND window = CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), dialog.owner,
      win32::DialogProcedure, reinterpret_cast<LPARAM>(&modeless_.back()->link));
  if (window == nullptr) {
    open_.erase(std::find(open_.begin(), open_.end(), &dialog));
    modeless_.pop_back();
    return {};
  }
  return dialog.ref;
}

// Before the window shows: within the work area, and a window that is not modal cascaded
// from the one opened before it, so that a new chart does not hide the last.
void Win32Desktop::Place(OpenDialog& dialog) {
  if (!dialog.modeless) {
    win32::KeepWithinWorkArea(dialog.window);
    return;
  }
  HWND last = nullptr;
  for (const auto& window : modeless_) {
    if (&window->dialog != &dialog && !window->dialog.ended && window->dialog.window != nullptr) {
      last = window->dialog.window;
    }
  }
  win32::CascadeFrom(dialog.window, last);
}

void Win32Desktop::RaiseWindow(WindowRef window) {
  if (const HWND dialog = WindowOf(window); dialog != nullptr) {
    if (IsIconic(dialog)) {
      ShowWindow(dialog, SW_RESTORE);
    }
    SetForegroundWindow(dialog);
  }
}

// The dialog whose keys a message carries: a window that is not modal when the message is
// for it or one of its controls, else the dialog whose loop runs.
OpenDialog& Win32Desktop::KeyTarget(OpenDialog& running, HWND target) {
  if (target == nullptr) {
    return running;
  }
  const HWND root = GetAncestor(target, GA_ROOT);
  for (const auto& window : modeless_) {
    if (window->dialog.window == root && !window->dialog.ended) {
      return window->dialog;
    }
  }
  return running;
}

void Win32Desktop::Close(OpenDialog& dialog) {
  open_.erase(std::find(open_.begin(), open_.end(), &dialog));
  dialog.ended = true;
  dialog.canvas.reset();
  if (dialog.window != nullptr) {
    DestroyWindow(dialog.window);
  }
}

void Win32Desktop::CloseEndedWindows() {
  const auto ended = [](const std::unique_ptr<win32::ModelessWindow>& window) {
    return window->dialog.ended;
  };
  for (auto found = std::find_if(modeless_.begin(), modeless_.end(), ended);
       found != modeless_.end(); found = std::find_if(modeless_.begin(), modeless_.end(), ended)) {
    const std::unique_ptr<win32::ModelessWindow> window = std::move(*found);
    modeless_.erase(found);
    CloseWindowsOwnedBy(window->dialog.window);
    Close(window->dialog);
  }
}

void Win32Desktop::CloseWindowsOwnedBy(HWND owner) {
  std::vector<std::unique_ptr<win32::ModelessWindow>> owned;
  for (auto& window : modeless_) {
    if (window->dialog.owner == owner) {
      owned.push_back(std::move(window));
    }
  }
  std::erase(modeless_, nullptr);
  for (auto& window : owned) {
    CloseWindowsOwnedBy(window->dialog.window);
    Close(window->dialog);
  }
}

}  // namespace zav
