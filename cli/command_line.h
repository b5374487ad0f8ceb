#pragma once
// zavctl's command line: global options before the command, then the command's own
// arguments, each command with its own --help. Usage errors name what is wrong and give 2.

#include <optional>
#include <string>
#include <string_view>

#include "cli/argument_parser.h"
#include "cli/cli_context.h"

namespace zav::cli {

struct CommandHelp {
  std::string_view usage;    // "read [-o FILE.car] [--json]"
  std::string_view summary;  // what it does, a few lines
};

// Parses a command's arguments (args[0] is the command's name). An exit code when the
// command ends here: 0 after --help, 2 after a usage error (already reported); nothing
// when it goes on. The count of positional arguments must lie in [least, most].
// -h and --help are added to the parser's options here.
std::optional<int> ParseCommand(CliContext& cli, ArgumentParser& parser, const Arguments& args,
                                const CommandHelp& help, int least, int most);

// A name from the command line (UTF-8) as the library stores names: Latin-1 bytes. Nothing
// when it holds a character Latin-1 does not have, or is not UTF-8 at all.
std::optional<std::string> Latin1Name(std::string_view name);
void Print(const CliContext& cli, const std::string& text);
// A number's text as the commands take it: the blanks around it and a leading '+' left out;
// empty when nothing else is there.
std::string_view NumberText(std::string_view text);

// The whole program: parses the global options and runs the command; its exit code.
// arguments[0] is the program's name; the rest are UTF-8.
int RunCommandLine(CliContext& cli, const Arguments& arguments);

}  // namespace zav::cli
