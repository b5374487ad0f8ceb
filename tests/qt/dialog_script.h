#pragma once
// A dialog procedure for tests: it keeps every event it gets, lets the test react to each,
// and ends the dialog with kTimedOut when a hang guard runs out, so a fault fails the test
// instead of hanging it.

#include <functional>
#include <vector>

#include "platform/desktop.h"

namespace zav::test {

inline constexpr int kTimedOut = -1;
inline constexpr int kGuardTimerId = 9999;
inline constexpr int kGuardPeriodMs = 60000;

class DialogScript {
 public:
  using Reaction = std::function<void(Desktop&, WindowRef, const DialogEvent&)>;

  explicit DialogScript(Reaction react = {});

  // The procedure to run the dialog with; the script must outlive the dialog.
  DialogProc Proc();

  WindowRef Window() const { return window_; }
  const std::vector<DialogEvent>& Events() const { return events_; }
  int Count(DialogMessage message) const;
  int CountCommand(int commandId, int code) const;
  bool TimedOut() const { return timedOut_; }

 private:
  bool Handle(Desktop& desktop, WindowRef window, const DialogEvent& event);

  Reaction react_;
  WindowRef window_;
  std::vector<DialogEvent> events_;
  bool timedOut_ = false;
};

}  // namespace zav::test
