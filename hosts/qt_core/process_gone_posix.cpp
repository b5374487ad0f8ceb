#include <signal.h>

#include <cerrno>

#include "hosts/qt_core/process_gone.h"

namespace zav {

// Signal 0 checks without sending: ESRCH is "no such process"; EPERM means it exists and
// belongs to someone else.
bool ProcessCertainlyGone(long pid) {
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace zav
