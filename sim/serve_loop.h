#pragma once
// Serves a controller on a serial line in real time, at the pace of a 9600-baud line in both
// directions: a byte leaves no sooner than kByteTime after the one before it, and a byte read
// from the line counts as arrived no sooner than kByteTime after the one before it, so an
// exchange takes as long as on a real line even where the line itself (a pseudo-terminal)
// has no speed.

#include <signal.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <string>

#include "sim/controller.h"

namespace zav::sim {

// Runs until `stopRequested` becomes non-zero (returns true) or the line fails (returns false
// with `error` set). `waitMask` is the signal mask to wait with: the stop signals must be
// blocked outside the wait and open in it, so that a stop is never missed.
bool ServeLine(int lineFd, Controller& controller, const volatile std::sig_atomic_t& stopRequested,
               const sigset_t& waitMask, std::string& error);

// The controller's time (us) since the clock was made; one clock serves a controller for its
// whole life, across the lines it is served on.
class ServeClock {
 public:
  Micros Now() const {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// As ServeLine, on `clock`, and also returns true once the clock reaches `until`.
bool ServeLineUntil(int lineFd, Controller& controller,
                    const volatile std::sig_atomic_t& stopRequested, const sigset_t& waitMask,
                    const ServeClock& clock, std::optional<Micros> until, std::string& error);

}  // namespace zav::sim
