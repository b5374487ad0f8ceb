#include "hosts/win32/win32_desktop.h"
#include "hosts/win32/window_fit.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <optional>

#include "hosts/win32/canvas_control_class.h"
#include "hosts/win32/dialog_link.h"
#include "hosts/win32/dialog_memory.h"
#include "hosts/win32/message_boxes.h"
#include "hosts/win32/toolbar_strip.h"
#include "platform/files/wide_text.h"

namespace zav {

namespace win32 {

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<DialogLink*>(lParam)->dialog->window = window;
  }
  auto* link = reinterpret_cast<DialogLink*>(GetWindowLongPtrW(window, DWLP_USER));
  if (link == nullptr) {
    return FALSE;  // messages before WM_INITDIALOG
  }
  return link->desktop->Handle(*link->dialog, message, wParam, lParam);
}

}  // namespace win32

namespace {

using win32::DialogLink;
using win32::OpenDialog;

// The canvas of a window that is gone: drawing on it reaches no screen.
class NowhereCanvas final : public Canvas {
 public:
  void SetPen(Colour /*colour*/) override {}
  void Rectangle(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) override {}
  void MoveTo(int /*x*/, int /*y*/) override {}
  void LineTo(int /*x*/, int /*y*/) override {}
  void SetTextColour(Colour /*colour*/) override {}
  void Text(int /*x*/, int /*y*/, std::string_view /*text*/) override {}
  void SetPenStyle(int /*widthPx*/, LineStyle /*style*/) override {}
  void Polyline(std::span<const PixelPoint> /*points*/) override {}
  void FillRectangle(PixelBox /*box*/, Colour /*colour*/) override {}
  PixelSize MeasureText(std::string_view /*text*/) override { return {}; }
  void PlacedText(TextPlace /*place*/, std::string_view /*text*/) override {}
  void ClipTo(PixelBox /*box*/) override {}
  void Unclip() override {}
};

bool IsClass(HWND control, const wchar_t* name) {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  return lstrcmpiW(className, name) == 0;
}

// The command a WM_COMMAND carries for the procedure; nothing for notifications it does not
// look at (an edit's changes, focus moves).
std::optional<DialogEvent> CommandOf(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  if (control == nullptr) {
    return DialogEvent{DialogMessage::Command, id, 0};  // a menu item, a key, Enter or Escape
  }
  if (IsClass(control, WC_COMBOBOXW)) {
    if (code == CBN_SELCHANGE) {
      return DialogEvent{DialogMessage::Command, id, kSelectionChange};
    }
    return std::nullopt;
  }
  if (code == BN_CLICKED && (IsClass(control, L"Button") || IsClass(control, TOOLBARCLASSNAMEW))) {
    return DialogEvent{DialogMessage::Command, id, 0};
  }
  return std::nullopt;
}

// The window grows so that its client area keeps its size under a new menu bar.
void KeepClientSize(HWND window, const RECT& clientBefore) {
  RECT clientAfter{};
  GetClientRect(window, &clientAfter);
  const int grow =
      (clientBefore.bottom - clientBefore.top) - (clientAfter.bottom - clientAfter.top);
  if (grow <= 0) {
    return;
  }
  RECT box{};
  GetWindowRect(window, &box);
  SetWindowPos(window, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Win32Desktop::~Win32Desktop() = default;

Win32Desktop::Win32Desktop() : nowhere_(std::make_unique<NowhereCanvas>()) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  win32::RegisterCanvasControlClass();
}

OpenDialog* Win32Desktop::Find(WindowRef window) const {
  for (OpenDialog* dialog : open_) {
    if (dialog->ref == window) {
      return dialog;
    }
  }
  return nullptr;
}

HWND Win32Desktop::WindowOf(WindowRef window) const {
  const OpenDialog* dialog = Find(window);
  return dialog != nullptr ? dialog->window : nullptr;
}

HWND Win32Desktop::Control(WindowRef window, int controlId) const {
  const HWND dialog = WindowOf(window);
  return dialog != nullptr ? GetDlgItem(dialog, controlId) : nullptr;
}

bool Win32Desktop::Deliver(OpenDialog& dialog, const DialogEvent& event) {
  if (dialog.ended && event.message != DialogMessage::Init) {
    return true;  // its loop ends with this event; nothing more reaches it
  }
  return dialog.proc(*this, dialog.ref, event);
}

void Win32Desktop::SetMenuBar(OpenDialog& dialog) {
  if (dialog.menus.Bar() == nullptr || !dialog.menus.BarIsNew()) {
    return;
  }
  RECT client{};
  GetClientRect(dialog.window, &client);
  SetMenu(dialog.window, dialog.menus.Bar());
  dialog.menus.NoteBarSet();
  KeepClientSize(dialog.window, client);
}

void Win32Desktop::SetUpWindow(OpenDialog& dialog) {
  dialog.menus.Build(dialog.dialogTemplate->menuId);
  SetMenuBar(dialog);
  Place(dialog);
  // A progress bar's colour shows only without the visual style's own bar; a fixed-pitch
  // control takes the system's fixed font.
  for (const ControlTemplate& control : dialog.dialogTemplate->controls) {
    if (control.kind == ControlKind::ProgressBar) {
      SetWindowTheme(GetDlgItem(dialog.window, control.id), L"", L"");
    }
    // A stock font: shared by the system, never deleted.
    if (control.fixedPitch) {
      SendMessageW(GetDlgItem(dialog.window, control.id), WM_SETFONT,
                   reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
    }
  }
}

INT_PTR Win32Desktop::Handle(OpenDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetUpWindow(dialog);
      // Shown before Init, so that a box Init raises (a port that cannot be opened) stands
      // over its window rather than alone.
      ShowWindow(dialog.window, SW_SHOW);
      dialog.initialised = true;
      Deliver(dialog, {DialogMessage::Init, 0, 0});
      return TRUE;
    case WM_TIMER:
      Deliver(dialog, {DialogMessage::Timer, static_cast<int>(wParam), 0});
      return TRUE;
    case WM_COMMAND:
      if (const std::optional<DialogEvent> event = CommandOf(wParam, lParam);
          event && dialog.initialised) {
        Deliver(dialog, *event);
        return TRUE;
      }
      return FALSE;
    case WM_VSCROLL:
      if (lParam != 0) {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        Deliver(dialog, {DialogMessage::VerticalScroll, id, LOWORD(wParam)});
        return TRUE;
      }
      return FALSE;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      BeginPaint(dialog.window, &paint);
      EndPaint(dialog.window, &paint);
      Deliver(dialog, {DialogMessage::Paint, 0, 0});
      return TRUE;
    }
    case WM_HSCROLL:
      return HandleHorizontalScroll(dialog, wParam, lParam) ? TRUE : FALSE;
    case win32::kCanvasControlEvent: {
      const auto& event = *reinterpret_cast<const DialogEvent*>(lParam);
      painting_ =
          event.message == DialogMessage::Paint ? GetDlgItem(dialog.window, event.id) : nullptr;
      if (const auto* painted = reinterpret_cast<const win32::PaintedParts*>(wParam);
          painted != nullptr) {
        paintedParts_ = *painted;
      }
      Deliver(dialog, event);
      painting_ = nullptr;
      paintedParts_.reset();
      controlCanvas_.reset();
      return TRUE;
    }
    case WM_CLOSE:
      Deliver(dialog, {DialogMessage::Close, 0, 0});  // the close box asks; the procedure decides
      return TRUE;
    case WM_NOTIFY: {
      const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
      if (notice->hwndFrom == dialog.statusBar.Bar() && notice->code == NM_CLICK) {
        Deliver(dialog, {DialogMessage::Command, kStatusLineClicked, 0});
        return TRUE;
      }
      return win32::FillToolbarTip(lParam) ? TRUE : FALSE;
    }
    case WM_SIZE:
      dialog.statusBar.Fit();
      return FALSE;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(dialog.window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

int Win32Desktop::RunDialog(const DialogTemplate& dialogTemplate, WindowRef owner,
                            DialogProc proc) {
  OpenDialog dialog;
  dialog.ref = WindowRef{nextWindowId_++};
  dialog.owner = WindowOf(owner);
  dialog.proc = std::move(proc);
  dialog.dialogTemplate = &dialogTemplate;
  const win32::TemplateWords words =
      win32::DialogTemplateWords(dialogTemplate, dialog.owner == nullptr,
                                 win32::FittingFontPoints(dialogTemplate, dialog.owner));
  DialogLink link{this, &dialog};
  open_.push_back(&dialog);
  const HWND window = CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), dialog.owner,
      win32::DialogProcedure, reinterpret_cast<LPARAM>(&link));
  if (window == nullptr) {
    open_.pop_back();
    return -1;
  }
  if (dialog.owner != nullptr) {
    EnableWindow(dialog.owner, FALSE);
  }
  if (!dialog.ended) {
    ShowWindow(window, SW_SHOW);
    RunLoop(dialog);
  }
  // The owner is enabled before this window goes, so that it, not another program, becomes
  // the active window.
  if (dialog.owner != nullptr) {
    EnableWindow(dialog.owner, TRUE);
    SetActiveWindow(dialog.owner);
  }
  // Its windows that are not modal go with it, as the system would take them.
  CloseWindowsOwnedBy(window);
  dialog.canvas.reset();
  DestroyWindow(window);
  open_.erase(std::find(open_.begin(), open_.end(), &dialog));
  return dialog.result;
}

// Keys go to the menu's accelerators first, then to the dialog manager (Tab, Alt and a
// mnemonic, Enter, Escape) of the window they are for: this dialog, or a window that is not
// modal. Everything else, timers of every window included, is dispatched. Windows that are
// not modal and have ended go between messages, never while one of their events runs.
void Win32Desktop::RunLoop(OpenDialog& dialog) {
  MSG message{};
  while (!dialog.ended) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the outer loops end too
      dialog.ended = true;
      dialog.result = kCommandEscape;
      break;
    }
    OpenDialog& target = KeyTarget(dialog, message.hwnd);
    const HACCEL keys = target.menus.Accelerators();
    if (keys != nullptr && TranslateAcceleratorW(target.window, keys, &message)) {
      continue;
    }
    if (!IsDialogMessageW(target.window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    CloseEndedWindows();
  }
}

void Win32Desktop::EndDialog(WindowRef window, int result) {
  if (OpenDialog* dialog = Find(window)) {
    dialog->ended = true;
    dialog->result = result;
    if (dialog->modeless) {
      ShowWindow(dialog->window, SW_HIDE);  // gone for the user now, destroyed by the loop
    }
    PostMessageW(dialog->window, WM_NULL, 0, 0);  // wakes its loop to see the end
  }
}

void Win32Desktop::SetTimer(WindowRef window, int timerId, int periodMs) {
  if (const HWND dialog = WindowOf(window)) {
    ::SetTimer(dialog, static_cast<UINT_PTR>(timerId), static_cast<UINT>(periodMs), nullptr);
  }
}

void Win32Desktop::KillTimer(WindowRef window, int timerId) {
  if (const HWND dialog = WindowOf(window)) {
    ::KillTimer(dialog, static_cast<UINT_PTR>(timerId));
  }
}

MessageAnswer Win32Desktop::ShowMessage(WindowRef owner, std::string_view text,
                                        std::string_view caption, MessageButtons buttons,
                                        MessageIcon icon) {
  return win32::ShowMessageBox(WindowOf(owner), text, caption, buttons, icon);
}

std::optional<std::string> Win32Desktop::ChooseFileToOpen(WindowRef owner,
                                                          const FileDialogOptions& options) {
  return win32::ChooseFile(WindowOf(owner), options, false);
}

std::optional<std::string> Win32Desktop::ChooseFileToSave(WindowRef owner,
                                                          const FileDialogOptions& options) {
  return win32::ChooseFile(WindowOf(owner), options, true);
}

bool Win32Desktop::AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                             std::string_view goOnLabel, MessageIcon icon) {
  return win32::AskWithLabelledButton(WindowOf(owner), text, caption, goOnLabel, icon, true);
}

bool Win32Desktop::NoticeWithAction(WindowRef owner, std::string_view text,
                                    std::string_view caption, std::string_view actionLabel,
                                    MessageIcon icon) {
  return win32::AskWithLabelledButton(WindowOf(owner), text, caption, actionLabel, icon, false);
}

Canvas& Win32Desktop::CanvasOf(WindowRef window) {
  OpenDialog* dialog = Find(window);
  if (dialog == nullptr) {
    return *nowhere_;
  }
  if (!dialog->canvas) {
    dialog->canvas = std::make_unique<win32::GdiCanvas>(dialog->window);
  }
  dialog->canvas->Begin();
  return *dialog->canvas;
}

void Win32Desktop::SetStatusLine(WindowRef window, std::string_view text) {
  const std::string segment(text);
  SetStatusSegments(window, std::span<const std::string>(&segment, 1));
}

void Win32Desktop::SetStatusSegments(WindowRef window, std::span<const std::string> segments) {
  if (OpenDialog* dialog = Find(window)) {
    dialog->statusBar.SetSegments(dialog->window, segments);
  }
}

void Win32Desktop::AddMenuItem(WindowRef window, std::string_view menuTitle, int commandId,
                               std::string_view text) {
  if (OpenDialog* dialog = Find(window)) {
    dialog->menus.AddItem(menuTitle, commandId, text);
    SetMenuBar(*dialog);
    DrawMenuBar(dialog->window);
  }
}

void Win32Desktop::SetMenuItemKey(WindowRef window, int commandId, std::string_view key) {
  if (OpenDialog* dialog = Find(window)) {
    dialog->menus.SetKey(commandId, key);
  }
}

void Win32Desktop::SetMenuItemChecked(WindowRef window, int commandId, bool checked) {
  if (OpenDialog* dialog = Find(window)) {
    dialog->menus.SetChecked(commandId, checked);
  }
}

void Win32Desktop::SetMenuItemEnabled(WindowRef window, int commandId, bool enabled) {
  if (OpenDialog* dialog = Find(window)) {
    dialog->menus.SetEnabled(commandId, enabled);
  }
}

}  // namespace zav
