#pragma once
// The commands of zavctl; each takes its arguments (the first is its own name) and returns
// the exit code.

#include <QStringList>

#include "cli/cli_context.h"

namespace zav::cli {

int RunStatus(CliContext& cli, const QStringList& args);
int RunMonitor(CliContext& cli, const QStringList& args);
int RunRead(CliContext& cli, const QStringList& args);
int RunWrite(CliContext& cli, const QStringList& args);
int RunDefaults(CliContext& cli, const QStringList& args);
int RunDiff(CliContext& cli, const QStringList& args);
int RunErrors(CliContext& cli, const QStringList& args);
int RunVersion(CliContext& cli, const QStringList& args);
int RunFlash(CliContext& cli, const QStringList& args);
int RunLibrary(CliContext& cli, const QStringList& args);
int RunCalibrate(CliContext& cli, const QStringList& args);
int RunSwitch(CliContext& cli, const QStringList& args);

}  // namespace zav::cli
