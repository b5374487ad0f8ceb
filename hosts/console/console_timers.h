#pragma once
// The timers of the console host's open dialogs, on one clock (ms). Whichever modal loop
// runs delivers every open dialog's due timers, its own and those of the dialogs beneath
// it, so a tick that opens a dialog goes on ticking inside it, as the window's timers do.
// Each timer comes due at whole periods from when it was set, as the window systems' timers
// do, so that a wait that ends late does not push every later tick back with it; periods
// missed while a handler was busy are dropped, not made up for.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace zav::console {

class DialogTimers {
 public:
  // Starts timer `timerId` at `nowMs` with the period (ms), replacing a running one's.
  void Set(int timerId, int periodMs, std::int64_t nowMs);
  void Kill(int timerId) { dueMs_.erase(timerId); }
  void KillAll() { dueMs_.clear(); }
  bool IsRunning(int timerId) const { return dueMs_.contains(timerId); }

  // The timers due at `nowMs`, each moved on to its next period; the caller fires them.
  std::vector<int> TakeDue(std::int64_t nowMs);
  // When the next one comes due (ms on the clock); nothing while none runs.
  std::optional<std::int64_t> NextDueMs() const;

 private:
  std::map<int, int> periodMs_;
  std::map<int, std::int64_t> dueMs_;  // running timers only
};

}  // namespace zav::console
