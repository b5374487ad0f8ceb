#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"

namespace zav::cli {

namespace {

struct CommandEntry {
  std::string_view name;
  std::string_view summary;
  int (*run)(CliContext&, const Arguments&);
};

constexpr std::array<CommandEntry, 12> kCommands{{
    {"status", "one sample of the live values and the state", RunStatus},
    {"monitor", "stream the live samples (text or CSV)", RunMonitor},
    {"read", "read registers 80 to 102; save them as a .car file", RunRead},
    {"write", "write a .car file to the controller, optionally verified", RunWrite},
    {"defaults", "the default parameter set as a .car file", RunDefaults},
    {"diff", "compare two parameter sets (.car file, lib:NAME or zav)", RunDiff},
    {"errors", "the controller's error flags; --clear clears them", RunErrors},
    {"switch", "switch between petrol and gas, as the window's \"switch\" button", RunSwitch},
    {"version", "the controller's hardware and firmware version and serial number", RunVersion},
    {"flash", "upload a firmware image", RunFlash},
    {"library", "list, show, add, remove, export configurations in zavmon.cfg", RunLibrary},
    {"calibrate", "propose the factors from a drive on petrol and one on gas", RunCalibrate},
}};

constexpr std::string_view kExitCodes =
    "Exit codes:\n"
    "  0  done\n"
    "  1  differences found (diff, write --verify); no proposal (calibrate)\n"
    "  2  usage error\n"
    "  3  port or file error\n"
    "  4  no answer within --timeout\n"
    "  5  cancelled (Ctrl-C)\n";

std::string ToolHelp() {
  std::string text =
      "Usage: zavctl [--port COMn|PATH] [--timeout S] [--quiet] COMMAND [ARGUMENTS]\n"
      "       zavctl COMMAND --help, or zavctl help COMMAND\n\n"
      "The ZAV controller from the command line, through the same poll cycle, transfers,\n"
      "write handshake and upload as the zavmon window.\n\n"
      "Global options (before the command):\n"
      "  --port COMn|PATH  the port; COMn maps as in zavmon (ZAVMON_COMn, /dev/ttyUSB<n-1>,\n"
      "                    /dev/ttyS<n-1>); default: the port named in zavmon.cfg\n"
      "  --timeout S       give up after S seconds without progress (default 10)\n"
      "  -q, --quiet       no progress bars (there are none off a terminal anyway)\n"
      "  --help            this help\n"
      "  --version         zavctl's own version\n\n"
      "Commands:\n";
  for (const CommandEntry& entry : kCommands) {
    std::string name(entry.name);
    name.resize(10, ' ');
    text += "  " + name + std::string(entry.summary) + "\n";
  }
  text +=
      "\nCommands that touch only files (defaults, diff of files and lib: records, library,\n"
      "calibrate) "
      "never open a port.\n\n";
  text += kExitCodes;
  return text;
}

// The parser names an unknown option without its dashes.
std::string WithDashes(const std::string& name) {
  return (name.size() == 1 ? "-" : "--") + name;
}

// Edits (insert, delete, replace one letter) from `typed` to `known`.
std::size_t EditDistance(std::string_view typed, std::string_view known) {
  std::vector<std::size_t> row(known.size() + 1);
  for (std::size_t j = 0; j < row.size(); ++j) {
    row[j] = j;
  }
  for (std::size_t i = 1; i <= typed.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= known.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t replace = diagonal + (typed[i - 1] == known[j - 1] ? 0 : 1);
      row[j] = std::min({replace, row[j - 1] + 1, above + 1});
      diagonal = above;
    }
  }
  return row.back();
}

// The command a mistyped name most likely meant: the nearest within two edits.
std::optional<std::string_view> NearestCommand(std::string_view typed) {
  constexpr std::size_t kMostEdits = 2;
  std::optional<std::string_view> nearest;
  std::size_t best = kMostEdits + 1;
  for (const CommandEntry& entry : kCommands) {
    if (const std::size_t edits = EditDistance(typed, entry.name); edits < best) {
      best = edits;
      nearest = entry.name;
    }
  }
  return nearest;
}

int ComplainOfCommand(CliContext& cli, const std::string& name) {
  std::string text = "unknown command '" + name + "'";
  if (const std::optional<std::string_view> meant = NearestCommand(name)) {
    text += "; did you mean '" + std::string(*meant) + "'?";
  }
  Complain(cli, text + " See zavctl --help");
  return kExitUsage;
}

const CommandEntry* CommandNamed(std::string_view name) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.name == name) {
      return &entry;
    }
  }
  return nullptr;
}

// zavctl help [COMMAND]: the tool's help, or the command's as COMMAND --help gives it.
int RunHelp(CliContext& cli, const Arguments& args) {
  if (args.size() < 2) {
    Print(cli, ToolHelp());
    return kExitDone;
  }
  const std::string& name = args[1];
  const CommandEntry* entry = CommandNamed(name);
  if (entry == nullptr) {
    return ComplainOfCommand(cli, name);
  }
  return entry->run(cli, Arguments{name, "--help"});
}

// A whole number as it has always been taken here: blanks around it and a sign allowed.
std::optional<int> WholeNumber(std::string_view text) {
  text = NumberText(text);
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return number;
}

std::optional<int> ParseTimeout(CliContext& cli, const std::string& value) {
  const std::optional<int> seconds = WholeNumber(value);
  if (!seconds || *seconds < 1 || *seconds > 3600) {
    Complain(cli, "--timeout " + value +
                      ": give a whole number of seconds from 1 to 3600; see zavctl --help");
    return kExitUsage;
  }
  cli.global.timeoutS = *seconds;
  return std::nullopt;
}

}  // namespace

std::string_view NumberText(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\n\v\f\r";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  text = text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
  if (text.starts_with('+')) {
    text.remove_prefix(1);
  }
  return text;
}

std::optional<std::string> Latin1Name(std::string_view name) {
  std::string latin1;
  for (std::size_t at = 0; at < name.size(); ++at) {
    const auto lead = static_cast<unsigned char>(name[at]);
    if (lead < 0x80) {
      latin1 += static_cast<char>(lead);
      continue;
    }
    // Latin-1's upper half is U+0080..U+00FF: two bytes, C2 or C3 and one continuation.
    if ((lead != 0xC2 && lead != 0xC3) || at + 1 >= name.size()) {
      return std::nullopt;
    }
    const auto next = static_cast<unsigned char>(name[++at]);
    if ((next & 0xC0) != 0x80) {
      return std::nullopt;
    }
    latin1 += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
  }
  return latin1;
}

void Print(const CliContext& cli, const std::string& text) {
  std::fputs(text.c_str(), cli.out);
  std::fflush(cli.out);
}

std::optional<int> ParseCommand(CliContext& cli, ArgumentParser& parser, const Arguments& args,
                                const CommandHelp& help, int least, int most) {
  const int helpOption = parser.Add({.names = {"h", "help"}});
  const std::string name = args.empty() ? std::string() : args[0];
  if (!parser.Parse(args)) {
    if (!parser.UnknownOptions().empty()) {
      Complain(cli, "unknown option '" + WithDashes(parser.UnknownOptions().front()) +
                        "'; see zavctl " + name + " --help");
      return kExitUsage;
    }
    std::string reason = parser.ErrorText();
    if (reason.ends_with('.')) {
      reason.pop_back();
    }
    Complain(cli, name + ": " + reason + "; see zavctl " + name + " --help");
    return kExitUsage;
  }
  if (parser.IsSet(helpOption)) {
    Print(cli, "Usage: zavctl [--port COMn|PATH] [--timeout S] " + std::string(help.usage) +
                   "\n\n" + std::string(help.summary) + "\n\n" + std::string(kExitCodes));
    return kExitDone;
  }
  const auto count = static_cast<int>(parser.Positional().size());
  if (count < least || count > most) {
    Complain(cli,
             name + ": expected " + std::string(help.usage) + "; see zavctl " + name + " --help");
    return kExitUsage;
  }
  return std::nullopt;
}

int RunCommandLine(CliContext& cli, const Arguments& arguments) {
  std::size_t next = 1;
  while (next < arguments.size() && arguments[next].starts_with('-')) {
    const std::string& option = arguments[next];
    if (option == "--help" || option == "-h") {
      Print(cli, ToolHelp());
      return kExitDone;
    }
    if (option == "--version") {
      Print(cli, std::string("zavctl ") + ZAV_VERSION + "\n");
      return kExitDone;
    }
    if (option == "--quiet" || option == "-q") {
      cli.desktop.SetQuiet(true);
      ++next;
      continue;
    }
    if ((option == "--port" || option == "--timeout") && next + 1 >= arguments.size()) {
      Complain(cli, option + " needs a value; see zavctl --help");
      return kExitUsage;
    }
    if (option == "--port") {
      cli.global.port = arguments[next + 1];
    } else if (option == "--timeout") {
      if (const std::optional<int> code = ParseTimeout(cli, arguments[next + 1])) {
        return *code;
      }
    } else {
      Complain(cli, "unknown option '" + option +
                        "' (global options come before the command); see zavctl --help");
      return kExitUsage;
    }
    next += 2;
  }
  if (next >= arguments.size()) {
    Complain(cli, "no command given; see zavctl --help");
    return kExitUsage;
  }
  const std::string& name = arguments[next];
  const Arguments commandArguments(arguments.begin() + static_cast<std::ptrdiff_t>(next),
                                   arguments.end());
  if (name == "help") {
    return RunHelp(cli, commandArguments);
  }
  if (const CommandEntry* entry = CommandNamed(name)) {
    return entry->run(cli, commandArguments);
  }
  return ComplainOfCommand(cli, name);
}

}  // namespace zav::cli
