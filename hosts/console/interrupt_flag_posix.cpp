#include <csignal>

#include "hosts/console/interrupt_flag.h"

namespace zav::console {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void NoteInterrupt(int /*signal*/) {
  interrupted = 1;
}

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = NoteInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested() {
  return interrupted != 0;
}

void ClearInterrupt() {
  interrupted = 0;
}

}  // namespace zav::console
