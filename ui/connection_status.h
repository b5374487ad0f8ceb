#pragma once
// The connection's part of the status line, from the link's own record of it.

#include <string>

#include "link/connection.h"

namespace zav {

// "controller answering · COM1 → /dev/ttyUSB0 · 120 frames · 0 discarded · 1 repeated ·
// 96 B/s": the state first, then the port, then (after a retry got the port) "got the port
// at 14:02:31", then the counters where there are any to show.
std::string ConnectionStatusText(const Connection& connection);

// The short words for a fault: the system's own when it gave any.
std::string FaultReason(const Connection& connection);

}  // namespace zav
