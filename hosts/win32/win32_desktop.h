#pragma once
// The desktop layer on the Windows API: every template a real dialog made in memory (dialog
// units of "MS Shell Dlg" 8), run in a modal loop of our own that passes keys to the menu's
// accelerators and the dialog manager (Tab, mnemonics, Enter, Escape); per-dialog timers
// are the system's, so every modal loop (message boxes, file dialogs) delivers them.

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "hosts/win32/dialog_link.h"
#include "hosts/win32_core/fine_waits.h"
#include "platform/desktop.h"

namespace zav {

class Win32Desktop final : public Desktop {
 public:
  Win32Desktop();
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  int RunDialog(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) override;
  void EndDialog(WindowRef window, int result) override;
  void SetTimer(WindowRef window, int timerId, int periodMs) override;
  void KillTimer(WindowRef window, int timerId) override;
  void SetText(WindowRef window, int controlId, std::string_view text) override;
  std::string GetText(WindowRef window, int controlId) override;
  void SetBarRange(WindowRef window, int controlId, int low, int high) override;
  void SetBarPosition(WindowRef window, int controlId, int position) override;
  void SetBarColour(WindowRef window, int controlId, Colour colour) override;
  void SetSliderRange(WindowRef window, int controlId, int low, int high) override;
  void SetSliderPosition(WindowRef window, int controlId, int position) override;
  int GetSliderPosition(WindowRef window, int controlId) override;
  void AddToolbarButtons(WindowRef window, int controlId,
                         std::span<const ToolbarButton> buttons) override;
  void AddListEntry(WindowRef window, int controlId, std::string_view entry) override;
  void SelectListEntry(WindowRef window, int controlId, int index) override;
  int SelectedListEntry(WindowRef window, int controlId) override;
  MessageAnswer ShowMessage(WindowRef owner, std::string_view text, std::string_view caption,
                            MessageButtons buttons, MessageIcon icon) override;
  std::optional<std::string> ChooseFileToOpen(WindowRef owner,
                                              const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFileToSave(WindowRef owner,
                                              const FileDialogOptions& options) override;
  bool AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                 std::string_view goOnLabel, MessageIcon icon) override;
  bool NoticeWithAction(WindowRef owner, std::string_view text, std::string_view caption,
                        std::string_view actionLabel, MessageIcon icon) override;
  Canvas& CanvasOf(WindowRef window) override;
  void SetStatusLine(WindowRef window, std::string_view text) override;
  void SetStatusSegments(WindowRef window, std::span<const std::string> segments) override;
  void AddMenuItem(WindowRef window, std::string_view menuTitle, int commandId,
                   std::string_view text) override;
  void SetMenuItemKey(WindowRef window, int commandId, std::string_view key) override;
  void SetMenuItemChecked(WindowRef window, int commandId, bool checked) override;
  void SetMenuItemEnabled(WindowRef window, int commandId, bool enabled) override;
  void SetTitle(WindowRef window, std::string_view title) override;
  void ShowControl(WindowRef window, int controlId, bool shown) override;
  void EnableControl(WindowRef window, int controlId, bool enabled) override;
  Canvas& ControlCanvas(WindowRef window, int controlId) override;
  void Redraw(WindowRef window, int controlId) override;
  void RedrawPart(WindowRef window, int controlId, PixelBox part) override;
  void ScrollPart(WindowRef window, int controlId, PixelBox box, int dx) override;
  PixelSize ControlSize(WindowRef window, int controlId) override;
  void SetChecked(WindowRef window, int controlId, bool checked) override;
  bool IsChecked(WindowRef window, int controlId) override;
  void SetScrollBar(WindowRef window, int controlId, ScrollBarState state) override;
  int GetScrollPosition(WindowRef window, int controlId) override;
  void SetTable(WindowRef window, int controlId, const TableText& table) override;
  std::string SavePicture(const std::string& path, PixelSize size,
                          const std::function<void(Canvas&)>& draw) override;
  WindowRef OpenWindow(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) override;
  void RaiseWindow(WindowRef window) override;

  // The window of a running dialog, for the program's entry and tests; nullptr when none.
  HWND WindowOf(WindowRef window) const;

  // Called by the dialogs' window procedure.
  INT_PTR Handle(win32::OpenDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  win32::OpenDialog* Find(WindowRef window) const;
  HWND Control(WindowRef window, int controlId) const;
  bool Deliver(win32::OpenDialog& dialog, const DialogEvent& event);
  void SetUpWindow(win32::OpenDialog& dialog);
  void Place(win32::OpenDialog& dialog);
  void RunLoop(win32::OpenDialog& dialog);
  void SetMenuBar(win32::OpenDialog& dialog);
  bool HandleHorizontalScroll(win32::OpenDialog& dialog, WPARAM wParam, LPARAM lParam);
  // See win32_desktop_windows.cpp: the windows that are not modal.
  win32::OpenDialog& KeyTarget(win32::OpenDialog& running, HWND target);
  void CloseEndedWindows();
  void CloseWindowsOwnedBy(HWND owner);
  void Close(win32::OpenDialog& dialog);

  win32::FineWaits fineWaits_;  // the dialogs' timers tick on time (20 ms, not 31)
  // Every dialog and window; the modal ones owned by their RunDialog, innermost last.
  std::vector<win32::OpenDialog*> open_;
  std::vector<std::unique_ptr<win32::ModelessWindow>> modeless_;  // opened with OpenWindow
  int nextWindowId_ = 1;
  std::unique_ptr<Canvas> nowhere_;  // the canvas of a window that is gone
  // A canvas control's canvas draws during the control's Paint event only.
  HWND painting_ = nullptr;                            // the canvas control being painted
  std::optional<std::vector<PixelBox>> paintedParts_;  // the parts its WM_PAINT repaints
  std::unique_ptr<win32::GdiCanvas> controlCanvas_;
};

}  // namespace zav
