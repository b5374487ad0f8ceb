#pragma once
// The desktop layer on Qt Widgets: real windows built from the templates, Qt timers that
// keep ticking through nested modal loops, QMessageBox and QFileDialog, and a canvas that
// paints into each dialog's picture. Needs a QApplication for its whole life; everything runs
// on the application's thread.

#include <QFont>
#include <QPoint>
#include <map>
#include <memory>
#include <set>

#include "platform/desktop.h"

class QWidget;

namespace zav::qt {
class BackingCanvas;
class DialogWindow;
}  // namespace zav::qt

namespace zav {

class QtDesktop : public Desktop {
 public:
  // Windows built from templates use the desktop's default font, or `dialogFont`.
  QtDesktop();
  explicit QtDesktop(const QFont& dialogFont);
  ~QtDesktop() override;
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;

  // The window of an open dialog and one of its controls, for the program entry and tests;
  // nullptr when there is none.
  QWidget* WindowOf(WindowRef window) const;
  QWidget* ClientAreaOf(WindowRef window) const;
  QWidget* ControlOf(WindowRef window, int controlId) const;
  // Where the pixel (0, 0) of the window's canvas lies in its client area (px).
  QPoint PictureOriginOf(WindowRef window) const;
  const QFont& DialogFont() const { return dialogFont_; }

  // Desktop.
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
  MessageAnswer ShowMessageUntil(WindowRef owner, std::string_view text, std::string_view caption,
                                 MessageButtons buttons, MessageIcon icon,
                                 const std::function<bool()>& over) override;
  bool AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                 std::string_view goOnLabel, MessageIcon icon) override;
  bool NoticeWithAction(WindowRef owner, std::string_view text, std::string_view caption,
                        std::string_view actionLabel, MessageIcon icon) override;
  std::optional<std::string> ChooseFileToOpen(WindowRef owner,
                                              const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFileToSave(WindowRef owner,
                                              const FileDialogOptions& options) override;
  Canvas& CanvasOf(WindowRef window) override;
  WindowRef OpenWindow(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) override;
  void RaiseWindow(WindowRef window) override;
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
  void SetStatusLine(WindowRef window, std::string_view text) override;
  void SetStatusSegments(WindowRef window, std::span<const std::string> segments) override;
  void AddMenuItem(WindowRef window, std::string_view menuTitle, int commandId,
                   std::string_view text) override;
  void SetMenuItemKey(WindowRef window, int commandId, std::string_view key) override;
  void SetMenuItemChecked(WindowRef window, int commandId, bool checked) override;
  void SetMenuItemEnabled(WindowRef window, int commandId, bool enabled) override;

 private:
  qt::DialogWindow* Find(WindowRef window) const;
  template <typename Kind>
  Kind* Control(WindowRef window, int controlId) const;

  std::map<int, qt::DialogWindow*> open_;  // by window id; each owned by its RunDialog
  std::set<qt::DialogWindow*> modeless_;   // opened with OpenWindow, owned here
  QFont dialogFont_;
  int nextWindowId_ = 1;
  std::unique_ptr<qt::BackingCanvas> nowhere_;  // the canvas of a window that is not open
};

}  // namespace zav
