#pragma once
// The system's timers, waits and tick count step by the timer interrupt, 15.6 ms unless a
// program asks for finer: a 20 ms timer then fires every 31 ms, and an upload that reads
// one answer a tick takes half as long again. An object of this class asks for 1 ms steps
// while it lives and gives the request back when it goes.

namespace zav::win32 {

class FineWaits {
 public:
  FineWaits();
  ~FineWaits();
  FineWaits(const FineWaits&) = delete;
  FineWaits& operator=(const FineWaits&) = delete;

 private:
  bool granted_;  // whether the system took the request, so that it is given back
};

}  // namespace zav::win32
