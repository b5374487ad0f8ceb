#include "hosts/headless/headless_desktop.h"

#include <algorithm>
#include <string>

#include "platform/closed_answer.h"

namespace zav::headless {

namespace {

bool AnswerFits(MessageButtons buttons, MessageAnswer answer) {
  switch (buttons) {
    case MessageButtons::Ok:
      return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
      return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
  }
  return false;
}

std::string TimeText(Micros time) {
  return std::to_string(time / kMillisecond) + " ms";
}

}  // namespace

HeadlessDesktop::HeadlessDesktop(VirtualClock& clock) : clock_(clock) {}

void HeadlessDesktop::QueueMessageAnswer(MessageAnswer answer, Micros after) {
  user_.messageAnswers.push_back({answer, after});
}

void HeadlessDesktop::QueueFileAnswer(std::optional<std::string> path, Micros after) {
  user_.fileAnswers.push_back({std::move(path), after});
}

void HeadlessDesktop::At(Micros time, std::function<void()> action) {
  ScriptedAction scripted{time, user_.nextOrder++, std::move(action)};
  const auto later = std::upper_bound(
      user_.actions.begin(), user_.actions.end(), scripted,
      [](const ScriptedAction& a, const ScriptedAction& b) { return a.at < b.at; });
  user_.actions.insert(later, std::move(scripted));
}

void HeadlessDesktop::Press(int templateId, int commandId, int code) {
  DialogRecord* record = NewestOpen(templateId);
  if (record == nullptr) {
    throw ScriptError("press " + std::to_string(commandId) + ": dialog " +
                      std::to_string(templateId) + " is not open");
  }
  // A disabled button cannot be pressed.
  if (const auto control = record->controls.find(commandId);
      control != record->controls.end() && control->second.disabled) {
    throw ScriptError("press " + std::to_string(commandId) + ": disabled");
  }
  Deliver(*record, {DialogMessage::Command, commandId, code});
}

void HeadlessDesktop::Scroll(int templateId, int controlId, int code) {
  DialogRecord* record = NewestOpen(templateId);
  if (record == nullptr) {
    throw ScriptError("scroll " + std::to_string(controlId) + ": dialog " +
                      std::to_string(templateId) + " is not open");
  }
  Deliver(*record, {DialogMessage::VerticalScroll, controlId, code});
}

void HeadlessDesktop::RequestClose(int templateId) {
  DialogRecord* record = NewestOpen(templateId);
  if (record == nullptr) {
    throw ScriptError("close: dialog " + std::to_string(templateId) + " is not open");
  }
  Deliver(*record, {DialogMessage::Close, 0, 0});
}

const DialogRecord* HeadlessDesktop::Newest(int templateId) const {
  for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
    if ((*it)->templateId == templateId) {
      return it->get();
    }
  }
  return nullptr;
}

std::vector<const DialogRecord*> HeadlessDesktop::DialogsOf(int templateId) const {
  std::vector<const DialogRecord*> found;
  for (const auto& record : dialogs_) {
    if (record->templateId == templateId) {
      found.push_back(record.get());
    }
  }
  return found;
}

const ControlState& HeadlessDesktop::Control(int templateId, int controlId) const {
  const DialogRecord* record = Newest(templateId);
  if (record == nullptr) {
    throw ScriptError("dialog " + std::to_string(templateId) + " was never opened");
  }
  const auto found = record->controls.find(controlId);
  if (found == record->controls.end()) {
    throw ScriptError("dialog " + std::to_string(templateId) + " has no control " +
                      std::to_string(controlId));
  }
  return found->second;
}

int HeadlessDesktop::RunDialog(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) {
  DialogRecord& record = NewRecord(dialog, owner, std::move(proc));
  Deliver(record, {DialogMessage::Init, 0, 0});
  RunLoop([&record] { return record.ending; }, std::nullopt);
  record.closedAt = clock_.Now();
  record.timers.clear();
  return record.result;
}

DialogRecord& HeadlessDesktop::NewRecord(const DialogTemplate& dialog, WindowRef owner,
                                         DialogProc proc) {
  auto created = std::make_unique<DialogRecord>();
  DialogRecord& record = *created;
  record.window = WindowRef{nextWindowId_++};
  record.templateId = dialog.id;
  record.owner = owner;
  record.proc = std::move(proc);
  record.openedAt = clock_.Now();
  for (const ControlTemplate& control : dialog.controls) {
    ControlState& state = record.controls[control.id];
    state.id = control.id;
    state.kind = control.kind;
    state.fixedPitch = control.fixedPitch;
    state.text = std::string(control.text);
    state.size = {control.rect.width * 2, control.rect.height * 2};
  }
  record.title = std::string(dialog.title);
  dialogs_.push_back(std::move(created));
  return record;
}

void HeadlessDesktop::EndDialog(WindowRef window, int result) {
  DialogRecord& record = Record(window);
  record.ending = true;
  record.result = result;
  if (record.modeless && record.IsOpen()) {
    record.closedAt = clock_.Now();  // no loop of its own to leave
    record.timers.clear();
  }
}

void HeadlessDesktop::SetTimer(WindowRef window, int timerId, int periodMs) {
  const int period = std::max(periodMs, 1);  // ms; a zero period would never let time move
  Record(window).timers[timerId] =
      TimerState{period, clock_.Now() + period * kMillisecond, nextTimerOrder_++};
}

void HeadlessDesktop::KillTimer(WindowRef window, int timerId) {
  Record(window).timers.erase(timerId);
}

void HeadlessDesktop::SetText(WindowRef window, int controlId, std::string_view text) {
  ControlOf(window, controlId).text = std::string(text);
}

std::string HeadlessDesktop::GetText(WindowRef window, int controlId) {
  return ControlOf(window, controlId).text;
}

void HeadlessDesktop::SetBarRange(WindowRef window, int controlId, int low, int high) {
  ControlState& control = ControlOf(window, controlId);
  control.barLow = low;
  control.barHigh = high;
}

void HeadlessDesktop::SetBarPosition(WindowRef window, int controlId, int position) {
  ControlState& control = ControlOf(window, controlId);
  // A progress bar shows its position within its range.
  control.barPosition = std::clamp(position, control.barLow, control.barHigh);
}

void HeadlessDesktop::SetBarColour(WindowRef window, int controlId, Colour colour) {
  ControlOf(window, controlId).barColour = colour;
}

void HeadlessDesktop::SetSliderRange(WindowRef window, int controlId, int low, int high) {
  ControlState& control = ControlOf(window, controlId);
  control.sliderLow = low;
  control.sliderHigh = high;
  control.sliderPosition = std::clamp(control.sliderPosition, low, high);
}

void HeadlessDesktop::SetSliderPosition(WindowRef window, int controlId, int position) {
  ControlState& control = ControlOf(window, controlId);
  control.sliderPosition = std::clamp(position, control.sliderLow, control.sliderHigh);
}

int HeadlessDesktop::GetSliderPosition(WindowRef window, int controlId) {
  return ControlOf(window, controlId).sliderPosition;
}

void HeadlessDesktop::AddToolbarButtons(WindowRef window, int controlId,
                                        std::span<const ToolbarButton> buttons) {
  auto& stored = ControlOf(window, controlId).buttons;
  stored.insert(stored.end(), buttons.begin(), buttons.end());
}

void HeadlessDesktop::AddListEntry(WindowRef window, int controlId, std::string_view entry) {
  ControlOf(window, controlId).entries.emplace_back(entry);
}

void HeadlessDesktop::SelectListEntry(WindowRef window, int controlId, int index) {
  ControlState& control = ControlOf(window, controlId);
  const bool inList = index >= 0 && index < static_cast<int>(control.entries.size());
  control.selection = inList ? index : -1;
}

int HeadlessDesktop::SelectedListEntry(WindowRef window, int controlId) {
  return ControlOf(window, controlId).selection;
}

MessageAnswer HeadlessDesktop::ShowMessage(WindowRef owner, std::string_view text,
                                           std::string_view caption, MessageButtons buttons,
                                           MessageIcon icon) {
  return ShowMessageUntil(owner, text, caption, buttons, icon, [] { return false; });
}

MessageAnswer HeadlessDesktop::ShowMessageUntil(WindowRef owner, std::string_view text,
                                                std::string_view caption, MessageButtons buttons,
                                                MessageIcon icon,
                                                const std::function<bool()>& over) {
  if (user_.messageAnswers.empty()) {
    throw ScriptError("unexpected message box \"" + std::string(text) + "\" at " +
                      TimeText(clock_.Now()));
  }
  const ScriptedAnswer scripted = user_.messageAnswers.front();
  user_.messageAnswers.pop_front();
  if (!AnswerFits(buttons, scripted.answer)) {
    throw ScriptError("scripted answer does not fit the buttons of \"" + std::string(text) + "\"");
  }
  const std::size_t index = messages_.size();
  messages_.push_back(MessageRecord{std::string(text), std::string(caption), buttons, icon, owner,
                                    clock_.Now(), clock_.Now(), scripted.answer});
  RunLoop(over, clock_.Now() + scripted.after);
  MessageRecord& record = messages_[index];
  record.closedAt = clock_.Now();
  if (over()) {
    record.closedItself = true;
    record.answer = ClosedAnswer(buttons);
  }
  return record.answer;
}

// Scripted Ok is the go-on button, Cancel the safe answer.
bool HeadlessDesktop::AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                                std::string_view goOnLabel, MessageIcon icon) {
  const std::size_t index = messages_.size();  // boxes opened behind it come later
  const MessageAnswer answer = ShowMessage(owner, text, caption, MessageButtons::OkCancel, icon);
  messages_[index].goOnLabel = std::string(goOnLabel);
  return answer == MessageAnswer::Ok;
}

bool HeadlessDesktop::NoticeWithAction(WindowRef owner, std::string_view text,
                                       std::string_view caption, std::string_view actionLabel,
                                       MessageIcon icon) {
  const bool action =
      !user_.messageAnswers.empty() && user_.messageAnswers.front().answer == MessageAnswer::Yes;
  if (action) {
    user_.messageAnswers.front().answer = MessageAnswer::Ok;  // fits the box's own button
  }
  const std::size_t index = messages_.size();
  ShowMessage(owner, text, caption, MessageButtons::Ok, icon);
  messages_[index].goOnLabel = std::string(actionLabel);
  messages_[index].answer = action ? MessageAnswer::Yes : MessageAnswer::Ok;
  return action;
}

std::optional<std::string> HeadlessDesktop::ChooseFileToOpen(WindowRef owner,
                                                             const FileDialogOptions& options) {
  return AskFile(false, owner, options);
}

std::optional<std::string> HeadlessDesktop::ChooseFileToSave(WindowRef owner,
                                                             const FileDialogOptions& options) {
  return AskFile(true, owner, options);
}

Canvas& HeadlessDesktop::CanvasOf(WindowRef window) {
  canvas_ = std::make_unique<RecordingCanvas>(Record(window).drawing);
  return *canvas_;
}

std::optional<std::string> HeadlessDesktop::AskFile(bool save, WindowRef owner,
                                                    const FileDialogOptions& options) {
  if (user_.fileAnswers.empty()) {
    throw ScriptError("unexpected file dialog at " + TimeText(clock_.Now()));
  }
  ScriptedFileAnswer scripted = user_.fileAnswers.front();
  user_.fileAnswers.pop_front();
  fileDialogs_.push_back(FileDialogRecord{save, options, owner, clock_.Now(), scripted.path});
  RunLoop([] { return false; }, clock_.Now() + scripted.after);
  return scripted.path;
}

DialogRecord& HeadlessDesktop::Record(WindowRef window) {
  for (const auto& record : dialogs_) {
    if (record->window == window) {
      return *record;
    }
  }
  throw ScriptError("no dialog with window id " + std::to_string(window.id));
}

ControlState& HeadlessDesktop::ControlOf(WindowRef window, int controlId) {
  DialogRecord& record = Record(window);
  const auto found = record.controls.find(controlId);
  if (found == record.controls.end()) {
    throw ScriptError("dialog " + std::to_string(record.templateId) + " has no control " +
                      std::to_string(controlId));
  }
  return found->second;
}

DialogRecord* HeadlessDesktop::NewestOpen(int templateId) {
  for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
    if ((*it)->templateId == templateId && (*it)->IsOpen() && !(*it)->ending) {
      return it->get();
    }
  }
  return nullptr;
}

void HeadlessDesktop::RunLoop(const std::function<bool()>& done, std::optional<Micros> wakeAt) {
  while (!done()) {
    if (wakeAt && clock_.Now() >= *wakeAt) {
      return;
    }
    if (!DispatchNext(wakeAt)) {
      return;
    }
  }
}

// Finds the earliest of: a scripted action, a due timer of an open dialog, the wake-up
// time. Advances the clock to it and handles it. False when the wake-up time has come.
bool HeadlessDesktop::DispatchNext(std::optional<Micros> wakeAt) {
  DialogRecord* timerOwner = nullptr;
  int timerId = 0;
  const TimerState* earliest = nullptr;
  for (const auto& record : dialogs_) {
    if (!record->IsOpen() || record->ending) {
      continue;
    }
    for (const auto& [id, timer] : record->timers) {
      if (earliest == nullptr || timer.due < earliest->due ||
          (timer.due == earliest->due && timer.order < earliest->order)) {
        earliest = &timer;
        timerOwner = record.get();
        timerId = id;
      }
    }
  }
  const bool actionFirst =
      !user_.actions.empty() && (earliest == nullptr || user_.actions.front().at <= earliest->due);
  std::optional<Micros> next = actionFirst ? std::optional(user_.actions.front().at)
                               : earliest  ? std::optional(earliest->due)
                                           : std::nullopt;
  if (wakeAt && (!next || *wakeAt < *next)) {
    clock_.AdvanceTo(*wakeAt);
    return false;
  }
  if (!next) {
    throw ScriptError("modal loop has nothing left to wait for at " + TimeText(clock_.Now()));
  }
  if (*next > timeLimit_) {
    throw ScriptError("time limit of " + TimeText(timeLimit_) + " reached");
  }
  clock_.AdvanceTo(*next);
  if (actionFirst) {
    ScriptedAction action = std::move(user_.actions.front());
    user_.actions.pop_front();
    action.action();
    return true;
  }
  TimerState& timer = timerOwner->timers[timerId];
  while (timer.due <= clock_.Now()) {
    timer.due += timer.periodMs * kMillisecond;  // periods missed while busy are dropped
  }
  Deliver(*timerOwner, {DialogMessage::Timer, timerId, 0});
  return true;
}

void HeadlessDesktop::Deliver(DialogRecord& record, const DialogEvent& event) {
  const DialogProc proc = record.proc;  // the procedure may outlive changes to the record
  ++delivering_;
  proc(*this, record.window, event);
  --delivering_;
  if (delivering_ == 0) {
    // Any window's: the event may have asked for another window's redraw.
    for (std::size_t i = 0; i < dialogs_.size(); ++i) {
      PaintAsked(*dialogs_[i]);
    }
  }
}

}  // namespace zav::headless
