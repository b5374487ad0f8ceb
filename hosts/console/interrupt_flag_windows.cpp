#include <windows.h>

#include <atomic>

#include "hosts/console/interrupt_flag.h"

namespace zav::console {

namespace {

// The console calls its control handler on a thread of its own: an atomic flag is all it
// touches.
std::atomic<bool> interrupted{false};

BOOL WINAPI NoteInterrupt(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      interrupted = true;
      return TRUE;  // handled: the process goes on and closes its dialogs
    default:
      return FALSE;
  }
}

}  // namespace

void CatchInterrupts() {
  SetConsoleCtrlHandler(NoteInterrupt, TRUE);
}

bool InterruptRequested() {
  return interrupted;
}

void ClearInterrupt() {
  interrupted = false;
}

}  // namespace zav::console
