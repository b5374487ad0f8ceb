#pragma once
// The timers of one dialog, by id. Each keeps firing through whichever modal loop runs on
// the thread, including a loop that its own handler opened: a tick that opens a dialog goes
// on ticking inside it.
//
// Qt does not deliver a timer again while that timer's handler is still running, so each
// delivery first starts the timer afresh (a new timer underneath) and only then calls the
// handler, which may block in a nested loop. Periods missed while a handler was busy are
// dropped, not made up for.

#include <QObject>
#include <functional>
#include <map>

class QTimer;

namespace zav::qt {

class DialogTimers {
 public:
  // The timers are children of `owner`; `fire` gets the id of each timer as it comes due.
  DialogTimers(QObject* owner, std::function<void(int timerId)> fire);

  // Starts timer `timerId` with the period (ms), replacing the period of a running one.
  void Set(int timerId, int periodMs);
  void Kill(int timerId);
  void KillAll();
  bool IsRunning(int timerId) const;

 private:
  QTimer& TimerFor(int timerId);

  QObject* owner_;
  std::function<void(int)> fire_;
  // Stopped timers are kept, never deleted: a handler may kill its own timer.
  std::map<int, QTimer*> timers_;
};

}  // namespace zav::qt
