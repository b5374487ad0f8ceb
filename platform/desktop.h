#pragma once
// The desktop layer: the few window-system services the program needs, addressed the way
// the program thinks of them (dialogs from templates, controls by numeric id, per-dialog
// timers, modal boxes). Two hosts implement it: Qt for real windows, and a headless host
// with a virtual clock for tests.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <span>

#include "platform/canvas.h"
#include "resources/dialog_template.h"
#include "resources/menu.h"

namespace zav {

// A running dialog as the host knows it; 0 means "no window" (an owner-less dialog).
struct WindowRef {
  int id = 0;
  friend bool operator==(WindowRef, WindowRef) = default;
};

// Paint with id 0 is the dialog's own picture; with a control's id, a canvas control's.
// The messages from Resize on come from canvas controls (Resize, Wheel, Click, Key) and
// horizontal scroll bars (HorizontalScroll).
enum class DialogMessage {
  Init,
  Timer,
  Command,
  VerticalScroll,
  Paint,
  Close,
  Resize,
  HorizontalScroll,
  Wheel,
  Click,
  Key
};

struct DialogEvent {
  DialogMessage message = DialogMessage::Init;
  // Timer id, command id (control or menu item), or the control the event is about.
  int id = 0;
  // Command notification code; scroll request code (ScrollCode for a horizontal scroll
  // bar); wheel notches (positive: turned away from the user); the Key pressed.
  int code = 0;
  PixelPoint at;  // Click: where, in px of the control
};

// What a horizontal scroll bar asks for (DialogEvent::code of HorizontalScroll). The event
// comes after the bar took its new position, which GetScrollPosition gives.
enum class ScrollCode {
  LineBack,
  LineOn,
  PageBack,
  PageOn,
  ThumbTrack,
  ThumbPosition,
  ToStart,
  ToEnd
};

// Keys a canvas control passes on (DialogEvent::code of Key); Escape and Enter stay commands
// of the dialog.
enum class Key { Left, Right, Up, Down, PageUp, PageDown, Home, End };

struct ScrollBarState {
  int low = 0;
  int high = 0;      // the handle's start at the far end
  int page = 1;      // how much of the range the handle stands for; an arrow moves a tenth
  int position = 0;  // low..high
};

// The texts of a read-only table: a heading per column, then the rows' cells.
struct TableText {
  std::vector<std::string> headings;
  std::vector<std::vector<std::string>> rows;
};

// Notification codes and command ids the program looks at.
inline constexpr int kSelectionChange = 1;  // drop-down list: the selection changed
inline constexpr int kCommandEnter = 1;     // Enter key in a dialog
inline constexpr int kCommandEscape = 2;    // Escape key in a dialog
// Sent by the host when the user clicks a window's status line (see SetStatusLine).
inline constexpr int kStatusLineClicked = 20000;

class Desktop;
// Returns true when the procedure handled the event.
using DialogProc = std::function<bool(Desktop&, WindowRef, const DialogEvent&)>;

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Error, Information, Warning };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct FileDialogOptions {
  std::string filterCaption;     // e.g. "Configuration files ZAV (*.car)"
  std::string filterPattern;     // e.g. "*.car"
  std::string defaultExtension;  // empty: none
  bool pathMustExist = false;
  bool fileMustExist = false;
  std::string initialPath;  // folder and file name proposed; empty: the working folder
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Runs a modal dialog from its template: creates it, delivers Init, then runs a modal loop
  // that delivers the timers of every open dialog (this one's and its owners') until
  // EndDialog is called. Returns the value given to EndDialog.
  virtual int RunDialog(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) = 0;
  // Ends the dialog's loop once the current event has been handled.
  virtual void EndDialog(WindowRef window, int result) = 0;

  virtual void SetTimer(WindowRef window, int timerId, int periodMs) = 0;
  virtual void KillTimer(WindowRef window, int timerId) = 0;

  virtual void SetText(WindowRef window, int controlId, std::string_view text) = 0;
  virtual std::string GetText(WindowRef window, int controlId) = 0;

  virtual void SetBarRange(WindowRef window, int controlId, int low, int high) = 0;
  virtual void SetBarPosition(WindowRef window, int controlId, int position) = 0;
  virtual void SetBarColour(WindowRef window, int controlId, Colour colour) = 0;

  virtual void SetSliderRange(WindowRef window, int controlId, int low, int high) = 0;
  virtual void SetSliderPosition(WindowRef window, int controlId, int position) = 0;
  virtual int GetSliderPosition(WindowRef window, int controlId) = 0;

  // Adds buttons to a toolbar; a click sends the dialog a command with the button's id.
  virtual void AddToolbarButtons(WindowRef window, int controlId,
                                 std::span<const ToolbarButton> buttons) = 0;

  virtual void AddListEntry(WindowRef window, int controlId, std::string_view entry) = 0;
  // An index outside the list leaves no entry selected.
  virtual void SelectListEntry(WindowRef window, int controlId, int index) = 0;
  // -1 when nothing is selected.
  virtual int SelectedListEntry(WindowRef window, int controlId) = 0;

  // Modal boxes; the main window's timer keeps running behind them.
  virtual MessageAnswer ShowMessage(WindowRef owner, std::string_view text,
                                    std::string_view caption, MessageButtons buttons,
                                    MessageIcon icon) = 0;
  // A box as ShowMessage that also closes by itself once `over` holds (its advice no longer
  // applies), answering as its close box does: Ok, Cancel or No. The host asks `over` while
  // the box is open, at least as often as it delivers the timers running behind it. A host
  // that cannot close a box by itself shows a plain one.
  virtual MessageAnswer ShowMessageUntil(WindowRef owner, std::string_view text,
                                         std::string_view caption, MessageButtons buttons,
                                         MessageIcon icon, const std::function<bool()>& /*over*/) {
    return ShowMessage(owner, text, caption, buttons, icon);
  }
  virtual std::optional<std::string> ChooseFileToOpen(WindowRef owner,
                                                      const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> ChooseFileToSave(WindowRef owner,
                                                      const FileDialogOptions& options) = 0;

  // A question whose safe answer, Cancel, is the default button: Enter, Escape and the close
  // box all cancel. `goOnLabel` names the other button ("Switch and upgrade"); true when it
  // was chosen. A host without labelled buttons asks with OK and Cancel.
  virtual bool AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                         std::string_view /*goOnLabel*/, MessageIcon icon) {
    return ShowMessage(owner, text, caption, MessageButtons::OkCancel, icon) == MessageAnswer::Ok;
  }
  // A notice whose default is OK (Enter, Escape and the close box), with one more button
  // beside it, `actionLabel` ("Upgrade again"); true when that was chosen. A host without
  // labelled buttons shows OK alone.
  virtual bool NoticeWithAction(WindowRef owner, std::string_view text, std::string_view caption,
                                std::string_view /*actionLabel*/, MessageIcon icon) {
    ShowMessage(owner, text, caption, MessageButtons::Ok, icon);
    return false;
  }
  // A clock that only moves forward, in ms from an arbitrary start; the headless host gives
  // its virtual time.
  virtual std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  // Draws on the dialog outside its Paint event (and inside it). The canvas is valid until
  // the next call into the desktop.
  virtual Canvas& CanvasOf(WindowRef window) = 0;

  // A window from a template that is not modal: Init is delivered before it returns, then
  // whichever modal loop runs delivers its events, until EndDialog closes it. A host without
  // such windows opens none and gives WindowRef{}.
  virtual WindowRef OpenWindow(const DialogTemplate& /*dialog*/, WindowRef /*owner*/,
                               DialogProc /*proc*/) {
    return {};
  }
  // Brings an open window to the front.
  virtual void RaiseWindow(WindowRef /*window*/) {}
  virtual void SetTitle(WindowRef /*window*/, std::string_view /*title*/) {}
  virtual void ShowControl(WindowRef /*window*/, int /*controlId*/, bool /*shown*/) {}
  // A disabled control is greyed and sends no commands (a button with nothing to do yet).
  virtual void EnableControl(WindowRef /*window*/, int /*controlId*/, bool /*enabled*/) {}

  // Canvas controls, check boxes, horizontal scroll bars and tables; a host without them
  // ignores them.
  //
  // A canvas control is drawn in its own Paint event (id: the control), through the canvas
  // ControlCanvas gives during that event; elsewhere that canvas draws nowhere. Redraw asks
  // for a Paint of the control soon, after the current event: many Redraws, one Paint.
  virtual Canvas& ControlCanvas(WindowRef window, int controlId) = 0;
  virtual void Redraw(WindowRef /*window*/, int /*controlId*/) {}
  // As Redraw, for only `part` of the control (px): the Paint may keep the pixels outside it
  // as they are (see Canvas::NeedsPainting). The parts asked before one Paint add up; a
  // Redraw among them asks for the whole control. A host may always paint the whole.
  virtual void RedrawPart(WindowRef window, int controlId, PixelBox /*part*/) {
    Redraw(window, controlId);
  }
  // Moves the pixels of `box` of a canvas control `dx` px across (negative: to the left), at
  // once: what moves out of the box is gone, and what the move uncovers is asked for as by
  // RedrawPart. A host that cannot move pixels asks for the whole box.
  virtual void ScrollPart(WindowRef window, int controlId, PixelBox box, int /*dx*/) {
    RedrawPart(window, controlId, box);
  }
  // The control's size (px); a canvas control gets Resize when it changes.
  virtual PixelSize ControlSize(WindowRef /*window*/, int /*controlId*/) { return {}; }
  // A click on a check box flips it and sends the dialog a Command with its id.
  virtual void SetChecked(WindowRef /*window*/, int /*controlId*/, bool /*checked*/) {}
  virtual bool IsChecked(WindowRef /*window*/, int /*controlId*/) { return false; }
  virtual void SetScrollBar(WindowRef /*window*/, int /*controlId*/, ScrollBarState /*state*/) {}
  virtual int GetScrollPosition(WindowRef /*window*/, int /*controlId*/) { return 0; }
  virtual void SetTable(WindowRef /*window*/, int /*controlId*/, const TableText& /*table*/) {}
  // Draws a picture of `size` on a white ground with `draw` and saves it as a PNG file at
  // `path`. Empty when saved; else what went wrong, for the fitter.
  virtual std::string SavePicture(const std::string& /*path*/, PixelSize /*size*/,
                                  const std::function<void(Canvas&)>& /*draw*/) {
    return "This program cannot save pictures.";
  }

  // Additions around a window from a template; a host without them ignores them.
  //
  // A line of text under the template's controls; the window grows by its height on first
  // use, nothing of the template moves. A click on it sends the window the command
  // kStatusLineClicked.
  virtual void SetStatusLine(WindowRef /*window*/, std::string_view /*text*/) {}
  // The same line in segments side by side, each cut on its own when the window is narrow;
  // a host without segments shows them joined by " \u00b7 ", the empty ones left out.
  virtual void SetStatusSegments(WindowRef window, std::span<const std::string> segments) {
    std::string joined;
    for (const std::string& segment : segments) {
      if (segment.empty()) {
        continue;
      }
      joined += joined.empty() ? "" : " \u00b7 ";
      joined += segment;
    }
    SetStatusLine(window, joined);
  }
  // Appends an item to the menu titled `menuTitle` ("Info" etc.), or to a new top-level menu
  // of that title after the existing ones. Choosing it sends the window a Command with
  // `commandId`. A '&' in `text` marks the next letter as the item's mnemonic ("&Live chart"),
  // as menus on Windows and Qt write it; "&&" shows one '&'.
  virtual void AddMenuItem(WindowRef /*window*/, std::string_view /*menuTitle*/, int /*commandId*/,
                           std::string_view /*text*/) {}
  // Gives an added item a key ("F1", "Ctrl+L"); a host without keys ignores it.
  virtual void SetMenuItemKey(WindowRef /*window*/, int /*commandId*/, std::string_view /*key*/) {}
  virtual void SetMenuItemChecked(WindowRef /*window*/, int /*commandId*/, bool /*checked*/) {}
  virtual void SetMenuItemEnabled(WindowRef /*window*/, int /*commandId*/, bool /*enabled*/) {}
};

}  // namespace zav
