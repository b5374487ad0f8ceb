#pragma once
// Ctrl-C on a terminal. The handler may only set a flag (nothing else is safe inside a
// signal handler), so this one process-wide flag is the console host's single piece of
// global state; the host looks at it from a timer on its event loop.

namespace zav::console {

// Installs the handler for SIGINT (and SIGTERM): from then on they set the flag instead of
// ending the process.
void CatchInterrupts();
// True once Ctrl-C was pressed since the handler was installed or the flag was cleared.
bool InterruptRequested();
void ClearInterrupt();

}  // namespace zav::console
