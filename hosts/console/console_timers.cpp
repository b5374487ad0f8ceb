#include "hosts/console/console_timers.h"

#include <algorithm>

namespace zav::console {

namespace {
// Shorter periods are raised to this (ms), as the window systems do; a 0 ms timer would
// starve everything else.
constexpr int kShortestPeriodMs = 10;
}  // namespace

void DialogTimers::Set(int timerId, int periodMs, std::int64_t nowMs) {
  const int period = std::max(periodMs, kShortestPeriodMs);
  periodMs_[timerId] = period;
  dueMs_[timerId] = nowMs + period;
}

std::vector<int> DialogTimers::TakeDue(std::int64_t nowMs) {
  std::vector<int> due;
  for (auto& [id, dueMs] : dueMs_) {
    if (dueMs <= nowMs) {
      due.push_back(id);
      const std::int64_t period = periodMs_[id];
      dueMs += period * (1 + (nowMs - dueMs) / period);
    }
  }
  return due;
}

std::optional<std::int64_t> DialogTimers::NextDueMs() const {
  std::optional<std::int64_t> next;
  for (const auto& [id, dueMs] : dueMs_) {
    next = next ? std::min(*next, dueMs) : dueMs;
  }
  return next;
}

}  // namespace zav::console
