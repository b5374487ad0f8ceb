// The headless host's canvas controls, check boxes, scroll bars, tables and saved pictures.

#include <algorithm>
#include <string>

#include "hosts/headless/headless_desktop.h"
#include "hosts/headless/painted_over.h"

namespace zav::headless {

DialogRecord& HeadlessDesktop::OpenRecord(int templateId, const char* action) {
  DialogRecord* record = NewestOpen(templateId);
  if (record == nullptr) {
    throw ScriptError(std::string(action) + ": dialog " + std::to_string(templateId) +
                      " is not open");
  }
  return *record;
}

WindowRef HeadlessDesktop::OpenWindow(const DialogTemplate& dialog, WindowRef owner,
                                      DialogProc proc) {
  DialogRecord& record = NewRecord(dialog, owner, std::move(proc));
  record.modeless = true;
  Deliver(record, {DialogMessage::Init, 0, 0});
  return record.window;
}

void HeadlessDesktop::RaiseWindow(WindowRef window) {
  ++Record(window).raised;
}

void HeadlessDesktop::SetTitle(WindowRef window, std::string_view title) {
  Record(window).title = std::string(title);
}

void HeadlessDesktop::ShowControl(WindowRef window, int controlId, bool shown) {
  ControlOf(window, controlId).hidden = !shown;
}

void HeadlessDesktop::EnableControl(WindowRef window, int controlId, bool enabled) {
  ControlOf(window, controlId).disabled = !enabled;
}

void HeadlessDesktop::ResizeControl(int templateId, int controlId, PixelSize size) {
  DialogRecord& record = OpenRecord(templateId, "resize");
  ControlOf(record.window, controlId).size = size;
  Deliver(record, {DialogMessage::Resize, controlId, 0});
  Redraw(record.window, controlId);
  PaintAsked(record);
}

void HeadlessDesktop::TurnWheel(int templateId, int controlId, int notches) {
  DialogRecord& record = OpenRecord(templateId, "wheel");
  Deliver(record, {DialogMessage::Wheel, controlId, notches});
}

void HeadlessDesktop::Click(int templateId, int controlId, PixelPoint at) {
  DialogRecord& record = OpenRecord(templateId, "click");
  Deliver(record, {DialogMessage::Click, controlId, 0, at});
}

void HeadlessDesktop::PressKey(int templateId, int controlId, Key key) {
  DialogRecord& record = OpenRecord(templateId, "key");
  Deliver(record, {DialogMessage::Key, controlId, static_cast<int>(key)});
}

void HeadlessDesktop::ClickCheckBox(int templateId, int controlId) {
  DialogRecord& record = OpenRecord(templateId, "check box");
  ControlState& box = ControlOf(record.window, controlId);
  box.checked = !box.checked;
  Deliver(record, {DialogMessage::Command, controlId, 0});
}

void HeadlessDesktop::MoveScrollBar(int templateId, int controlId, ScrollCode code, int position) {
  DialogRecord& record = OpenRecord(templateId, "scroll bar");
  ScrollBarState& bar = ControlOf(record.window, controlId).scroll;
  bar.position = std::clamp(position, bar.low, std::max(bar.low, bar.high));
  Deliver(record, {DialogMessage::HorizontalScroll, controlId, static_cast<int>(code)});
}

Canvas& HeadlessDesktop::ControlCanvas(WindowRef window, int controlId) {
  ControlState& control = ControlOf(window, controlId);
  const bool inItsPaint = painting_ && painting_->first == window && painting_->second == controlId;
  nowhere_.clear();
  canvas_ = inItsPaint ? std::make_unique<RecordingCanvas>(control.drawing, control.paintedPart)
                       : std::make_unique<RecordingCanvas>(nowhere_);
  return *canvas_;
}

void HeadlessDesktop::Redraw(WindowRef window, int controlId) {
  AskPaint(window, controlId, std::nullopt);
}

void HeadlessDesktop::RedrawPart(WindowRef window, int controlId, PixelBox part) {
  AskPaint(window, controlId, part);
}

// The recorded drawing has no pixels to move: the box is painted again, and the move is
// kept for the tests.
void HeadlessDesktop::ScrollPart(WindowRef window, int controlId, PixelBox box, int dx) {
  ControlOf(window, controlId).scrolls.push_back({box, dx});
  AskPaint(window, controlId, box);
}

void HeadlessDesktop::AskPaint(WindowRef window, int controlId, std::optional<PixelBox> part) {
  ControlOf(window, controlId);  // fails for a control the dialog does not have
  std::vector<RedrawAsked>& asked = Record(window).redrawsAsked;
  const auto same = std::find_if(asked.begin(), asked.end(), [&](const RedrawAsked& earlier) {
    return earlier.controlId == controlId;
  });
  if (same == asked.end()) {
    asked.push_back({controlId, part});
  } else if (same->part && part) {  // one paint of the box round both
    same->part = same->part->Around(*part);
  } else {
    same->part.reset();
  }
}

void HeadlessDesktop::PaintAsked(DialogRecord& record) {
  while (!record.redrawsAsked.empty() && record.IsOpen() && !record.ending) {
    const RedrawAsked asked = record.redrawsAsked.front();
    record.redrawsAsked.erase(record.redrawsAsked.begin());
    ControlState& control = ControlOf(record.window, asked.controlId);
    if (asked.part) {
      PaintOver(control.drawing, *asked.part);
    } else {
      control.drawing.clear();
    }
    control.paintedPart = asked.part;
    ++control.paints;
    painting_ = std::pair(record.window, asked.controlId);
    Deliver(record, {DialogMessage::Paint, asked.controlId, 0});
    painting_.reset();
  }
}

PixelSize HeadlessDesktop::ControlSize(WindowRef window, int controlId) {
  return ControlOf(window, controlId).size;
}

void HeadlessDesktop::SetChecked(WindowRef window, int controlId, bool checked) {
  ControlOf(window, controlId).checked = checked;
}

bool HeadlessDesktop::IsChecked(WindowRef window, int controlId) {
  return ControlOf(window, controlId).checked;
}

void HeadlessDesktop::SetScrollBar(WindowRef window, int controlId, ScrollBarState state) {
  state.high = std::max(state.high, state.low);
  state.position = std::clamp(state.position, state.low, state.high);
  ControlOf(window, controlId).scroll = state;
}

int HeadlessDesktop::GetScrollPosition(WindowRef window, int controlId) {
  return ControlOf(window, controlId).scroll.position;
}

void HeadlessDesktop::SetTable(WindowRef window, int controlId, const TableText& table) {
  ControlOf(window, controlId).table = table;
}

std::string HeadlessDesktop::SavePicture(const std::string& path, PixelSize size,
                                         const std::function<void(Canvas&)>& draw) {
  SavedPicture picture{path, size, {}};
  RecordingCanvas canvas(picture.drawing);
  draw(canvas);
  pictures_.push_back(std::move(picture));
  return {};
}

}  // namespace zav::headless
