#pragma once
// The commands of zavctl; each takes its arguments (the first is its own name) and returns
// the exit code.

#include "cli/argument_parser.h"
#include "cli/cli_context.h"

namespace zav::cli {

int RunStatus(CliContext& cli, const Arguments& args);
int RunMonitor(CliContext& cli, const Arguments& args);
int RunRead(CliContext& cli, const Arguments& args);
int RunWrite(CliContext& cli, const Arguments& args);
int RunDefaults(CliContext& cli, const Arguments& args);
int RunDiff(CliContext& cli, const Arguments& args);
int RunErrors(CliContext& cli, const Arguments& args);
int RunVersion(CliContext& cli, const Arguments& args);
int RunFlash(CliContext& cli, const Arguments& args);
int RunLibrary(CliContext& cli, const Arguments& args);
int RunCalibrate(CliContext& cli, const Arguments& args);
int RunSwitch(CliContext& cli, const Arguments& args);

}  // namespace zav::cli
