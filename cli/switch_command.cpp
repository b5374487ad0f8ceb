// zavctl switch: the window's "switch" button from the command line. The switch frame goes
// out on the next idle tick, as the button's does; then the state the controller reports
// once it has changed is printed.

#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "link/wire.h"
#include "texts/live_text.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kSwitchHelp{
    "switch",
    "Sends the switch frame between petrol and gas, as the window's \"switch\" button does,\n"
    "and prints the state the controller then reports (\"Petrol\", \"Gas\", ...). The\n"
    "controller decides whether it can switch; a state that does not change within\n"
    "--timeout seconds gives 4."};

}  // namespace

int RunSwitch(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kSwitchHelp, 0, 0)) {
    return *code;
  }
  return WithController(cli, [&](Program& program) {
    Link& link = program.link;
    std::optional<std::uint16_t> status;
    int statusFrames = 0;
    program.link.hooks.showStatusText = [&](std::uint16_t value) {
      status = value;
      ++statusFrames;
    };
    // A state from before the switch, to tell the new one from it.
    if (!WaitUntil(
            program, [&] { return statusFrames >= 2; }, [&] { return statusFrames; })) {
      return kExitNoAnswer;
    }
    const std::uint16_t before = *status;
    CurrentCommand(link) = kLetterSwitch;  // the next idle branch sends it once
    if (!WaitUntil(program, [&link] { return CurrentCommand(link) != kLetterSwitch; })) {
      return kExitNoAnswer;
    }
    if (!WaitUntil(program, [&] { return status != before; })) {
      return kExitNoAnswer;
    }
    Print(cli, std::string(StatusText(*status)) + " (" + std::to_string(*status) + ")\n");
    return kExitDone;
  });
}

}  // namespace zav::cli
