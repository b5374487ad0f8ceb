#pragma once
// What the console host asks of the system between its dialogs' timers: the time, and a
// wait that keeps the system's own work going (the serial device's events on Qt, the
// console's input on Windows). CMake picks the system's file; tests give a clock of their own.

#include <cstdint>
#include <cstdio>
#include <memory>

namespace zav::console {

class ConsoleClock {
 public:
  virtual ~ConsoleClock() = default;
  // Only moves forward; ms from an arbitrary start.
  virtual std::int64_t NowMs() = 0;
  // Waits up to `ms`. With `answers` (a terminal), returns early, true, once a line typed
  // there is ready to read.
  virtual bool Wait(int ms, std::FILE* answers) = 0;
};

std::unique_ptr<ConsoleClock> SystemClock();

}  // namespace zav::console
