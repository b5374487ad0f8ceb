#include "hosts/qt_core/dialog_timers.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace zav::qt {

namespace {
// The platform raises shorter periods to this (ms); a 0 ms timer would starve the loop.
constexpr int kShortestPeriodMs = 10;
}  // namespace

DialogTimers::DialogTimers(QObject* owner, std::function<void(int timerId)> fire)
    : owner_(owner), fire_(std::move(fire)) {}

void DialogTimers::Set(int timerId, int periodMs) {
  QTimer& timer = TimerFor(timerId);
  timer.setInterval(std::max(periodMs, kShortestPeriodMs));
  timer.start();
}

void DialogTimers::Kill(int timerId) {
  const auto found = timers_.find(timerId);
  if (found != timers_.end()) {
    found->second->stop();
  }
}

void DialogTimers::KillAll() {
  for (const auto& [id, timer] : timers_) {
    timer->stop();
  }
}

bool DialogTimers::IsRunning(int timerId) const {
  const auto found = timers_.find(timerId);
  return found != timers_.end() && found->second->isActive();
}

QTimer& DialogTimers::TimerFor(int timerId) {
  if (const auto found = timers_.find(timerId); found != timers_.end()) {
    return *found->second;
  }
  auto* timer = new QTimer(owner_);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, owner_, [this, timer, timerId] {
    timer->start();  // re-armed before the handler can block: see the header
    fire_(timerId);
  });
  timers_[timerId] = timer;
  return *timer;
}

}  // namespace zav::qt
