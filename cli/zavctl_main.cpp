// zavctl: the ZAV controller from the command line. It builds the console host and runs
// the command named on the command line; the command's result is the exit code.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/command_line.h"
#include "hosts/console/console_desktop.h"
#include "hosts/console/console_program.h"
#include "hosts/console/interrupt_flag.h"

int main(int argc, char** argv) {
  return zav::console::RunConsoleProgram(argc, argv, [](const std::vector<std::string>& arguments) {
    zav::console::CatchInterrupts();
    zav::ConsoleDesktop desktop;
    zav::cli::CliContext cli{.desktop = desktop, .workingFolder = std::filesystem::current_path()};
    return zav::cli::RunCommandLine(cli, arguments);
  });
}
