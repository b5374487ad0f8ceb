#pragma once
// Serving on a pseudo-terminal that can be pulled out and plugged back in, as a USB adapter
// can: a symbolic link names whichever pseudo-terminal is current; an unplug closes it and
// removes the link, a replug serves a fresh one behind a renewed link.

#include <signal.h>

#include <csignal>
#include <string>

#include "sim/controller.h"
#include "sim/program_options.h"

namespace zav::sim {

// Serves `options`' pseudo-terminal until a stop (true) or a failure (false, `error` set);
// prints each new pseudo-terminal's path as a line on standard output.
bool ServePluggable(const ProgramOptions& options, Controller& controller,
                    const volatile std::sig_atomic_t& stopRequested, const sigset_t& waitMask,
                    std::string& error);

}  // namespace zav::sim
