#pragma once
// What the headless host keeps of each dialog: its controls in memory, its timers, what was
// drawn on it, and when it opened and closed. Tests read these to see what the window shows.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "hosts/headless/virtual_clock.h"
#include "platform/desktop.h"

namespace zav::headless {

struct DrawOp {
  enum class Kind {
    Pen,
    Rectangle,
    MoveTo,
    LineTo,
    TextColour,
    Text,
    PenStyle,
    Polyline,
    Fill,
    PlacedText,
    Clip,
    Unclip
  };
  Kind kind = Kind::Pen;
  int x1 = 0;  // a point, or a box's left and top; the pen's width (px) for PenStyle
  int y1 = 0;
  int x2 = 0;  // a box's right and bottom (one past)
  int y2 = 0;
  Colour colour;
  std::string text;
  std::vector<PixelPoint> points;  // Polyline
  LineStyle style = LineStyle::Solid;
  TextAlign across = TextAlign::Start;  // PlacedText
  TextAlign down = TextAlign::Start;
};

// A canvas control's pixels in `box` moved `dx` px across.
struct ScrollAsked {
  PixelBox box;
  int dx = 0;  // px
  friend bool operator==(const ScrollAsked&, const ScrollAsked&) = default;
};

struct ControlState {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  bool fixedPitch = false;  // the template asks for the fixed-pitch font
  std::string text;
  int barLow = 0;
  int barHigh = 100;
  int barPosition = 0;
  std::optional<Colour> barColour;
  int sliderLow = 0;
  int sliderHigh = 100;
  int sliderPosition = 0;
  std::vector<std::string> entries;
  int selection = -1;
  std::vector<ToolbarButton> buttons;
  bool checked = false;
  bool hidden = false;    // ShowControl(false)
  bool disabled = false;  // EnableControl(false)
  ScrollBarState scroll;
  TableText table;
  // A canvas control: its size (px) and what it shows: what its latest Paint drew, after what
  // the paints before drew outside that Paint's part (see PaintOver).
  PixelSize size;
  std::vector<DrawOp> drawing;
  int paints = 0;
  std::optional<PixelBox> paintedPart;  // of its latest Paint; none: the whole
  std::vector<ScrollAsked> scrolls;     // every ScrollPart, in order
};

struct TimerState {
  int periodMs = 0;
  Micros due = 0;
  std::uint64_t order = 0;  // creation order breaks ties between timers due together
};

// A menu item the program added to a window (see Desktop::AddMenuItem).
struct AddedMenuItem {
  std::string menuTitle;
  int commandId = 0;
  std::string text;      // as shown: without the '&' that marks the mnemonic
  char mnemonic = '\0';  // the letter after '&', as written; none without one
  std::string key;       // "Ctrl+L"; empty without one
  bool checked = false;
  bool enabled = true;
};

// A canvas control's paint asked for: of `part` of it, or of the whole.
struct RedrawAsked {
  int controlId = 0;
  std::optional<PixelBox> part;  // px
};

struct DialogRecord {
  WindowRef window;
  int templateId = 0;
  WindowRef owner;
  DialogProc proc;
  Micros openedAt = 0;
  std::optional<Micros> closedAt;
  bool ending = false;
  int result = 0;
  std::map<int, ControlState> controls;
  std::map<int, TimerState> timers;
  std::vector<DrawOp> drawing;
  std::optional<std::string> statusLine;    // none until the program first shows one
  int statusLineUpdates = 0;                // how often it was set, changed or not
  std::vector<std::string> statusSegments;  // as last given in segments, empty ones kept
  std::vector<AddedMenuItem> addedItems;
  bool modeless = false;                  // opened with OpenWindow
  std::string title;                      // as SetTitle last gave it
  int raised = 0;                         // how often RaiseWindow brought it to the front
  std::vector<RedrawAsked> redrawsAsked;  // to paint once the current event is handled

  const AddedMenuItem* AddedItem(int commandId) const;

  bool IsOpen() const { return !closedAt.has_value(); }
};

struct MessageRecord {
  std::string text;
  std::string caption;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  WindowRef owner;
  Micros shownAt = 0;
  Micros closedAt = 0;
  MessageAnswer answer = MessageAnswer::Ok;
  bool closedItself = false;  // by the program (ShowMessageUntil), not by the user
  std::string goOnLabel;      // a question asked with AskToGoOn: its go-on button; else empty
};

// A picture saved with Desktop::SavePicture: the file is not written, its drawing is kept.
struct SavedPicture {
  std::string path;
  PixelSize size;
  std::vector<DrawOp> drawing;
};

struct FileDialogRecord {
  bool save = false;
  FileDialogOptions options;
  WindowRef owner;
  Micros shownAt = 0;
  std::optional<std::string> answer;
};

}  // namespace zav::headless
