#include "tests/qt/dialog_script.h"

#include <algorithm>
#include <utility>

namespace zav::test {

DialogScript::DialogScript(Reaction react) : react_(std::move(react)) {}

DialogProc DialogScript::Proc() {
  return [this](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    return Handle(desktop, window, event);
  };
}

int DialogScript::Count(DialogMessage message) const {
  return static_cast<int>(std::count_if(
      events_.begin(), events_.end(), [&](const DialogEvent& e) { return e.message == message; }));
}

int DialogScript::CountCommand(int commandId, int code) const {
  return static_cast<int>(std::count_if(events_.begin(), events_.end(), [&](const DialogEvent& e) {
    return e.message == DialogMessage::Command && e.id == commandId && e.code == code;
  }));
}

bool DialogScript::Handle(Desktop& desktop, WindowRef window, const DialogEvent& event) {
  if (event.message == DialogMessage::Init) {
    window_ = window;
    desktop.SetTimer(window, kGuardTimerId, kGuardPeriodMs);
  }
  if (event.message == DialogMessage::Timer && event.id == kGuardTimerId) {
    timedOut_ = true;
    desktop.EndDialog(window, kTimedOut);
    return true;
  }
  events_.push_back(event);
  if (react_) {
    react_(desktop, window, event);
  }
  return true;
}

}  // namespace zav::test
