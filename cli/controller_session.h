#pragma once
// A command that talks to the controller runs inside the same poll cycle as the window: a
// session dialog whose timer 1 is the 150 ms poll tick, and which runs the command's job
// from its first moment. Transfers, the write handshake and the upload then nest inside it
// exactly as they nest inside the main window.

#include <functional>
#include <string>

#include "cli/cli_context.h"
#include "ui/program.h"

namespace zav::cli {

// Opens the port (--port, else zavmon.cfg's), runs `job` inside the cycle and closes the
// port. A port that cannot be opened is reported and gives 3; a job stopped by Ctrl-C or by
// --timeout is reported and gives 5 or 4, whatever it returned.
int WithController(CliContext& cli, const std::function<int(Program&)>& job);

// Lets the cycle run until `done` holds: true. False when Ctrl-C or the time limit closed
// the wait first. `progress` counts what has arrived; while it grows the limit is not
// reached.
bool WaitUntil(Program& program, const std::function<bool()>& done,
               const std::function<int()>& progress = {});

}  // namespace zav::cli
