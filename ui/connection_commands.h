#pragma once
// The connection's additions to the main window: the "Connection help…" item in the Info
// menu (and a click on the status line) and, once per tick, the watch over the line and
// its segment of the status line.

#include "ui/program.h"

namespace zav {

inline constexpr int kConnectionHelpCommand = 20001;
inline constexpr const char* kConnectionHelpItem = "&Connection help\u2026";  // C its mnemonic
inline constexpr std::uint32_t kCounterRefreshTicks = 7;  // about 1 s of 150 ms ticks

void InitConnectionExtras(Program& program, WindowRef window);

// Closes a failed device and reopens it when due; fills the status line's segment.
void FollowConnection(Program& program);

// The help, in a box over the main window; the poll keeps running behind it.
void ShowConnectionHelp(Program& program);

}  // namespace zav
