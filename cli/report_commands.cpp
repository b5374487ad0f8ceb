// zavctl errors and zavctl version: the reports' block reads and texts, printed instead of
// shown in a box.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "link/block_transfer.h"
#include "platform/latin1_text.h"
#include "ui/reports.h"

namespace zav::cli {

namespace {

constexpr std::uint8_t kErrorFlagsRegister = 102;
constexpr std::uint8_t kFirstVersionRegister = 95;

constexpr CommandHelp kErrorsHelp{
    "errors [--clear] [--json]",
    "Reads register 102, the controller's error flags, and prints one line per error set,\n"
    "or \"No errors\". Nothing is cleared unless asked.\n\n"
    "  --clear  then send the clear request, as the window does after its report\n"
    "  --json   {\"flags\": number, \"errors\": [lines]}"};

constexpr CommandHelp kVersionHelp{
    "version [--json]",
    "Reads registers 95 to 102 and prints the hardware and firmware version and the serial\n"
    "number as the window's \"ZAV version\" report does. (zavctl --version prints zavctl's.)\n\n"
    "  --json  {\"hardware\", \"firmware\", \"serial\", \"text\"}"};

// The lines of a text; `keepEmpty` keeps empty ones, so that a line's index is its place.
std::vector<std::string> Lines(const std::string& text, bool keepEmpty) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (keepEmpty || end > start) {
      lines.push_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return lines;
}

std::string WithFinalLineFeed(std::string text) {
  if (!text.empty() && text.back() != '\n') {
    text += '\n';
  }
  return text;
}

bool ReadFrom(Program& program, std::uint8_t first) {
  return RunBlockTransfer(program.link, first, kLetterQuery) == 1;
}

// The value after "label: " on its line of the version text; empty when the text ends
// before it (a character 0x00 cuts it short).
std::string VersionPart(const std::vector<std::string>& lines, std::size_t index) {
  if (index >= lines.size()) {
    return {};
  }
  const std::size_t colon = lines[index].find(": ");
  return colon == std::string::npos ? std::string() : lines[index].substr(colon + 2);
}

}  // namespace

int RunErrors(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int clearOption = parser.Add({.names = {"clear"}});
  const int jsonOption = parser.Add({.names = {"json"}});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kErrorsHelp, 0, 0)) {
    return *code;
  }
  return WithController(cli, [&](Program& program) {
    cli.desktop.SetProgressTitle("Reading errors");
    if (!ReadFrom(program, kErrorFlagsRegister)) {
      return kExitNoAnswer;
    }
    const std::uint16_t flags = RegisterValue(program.link.image, kErrorFlagsRegister);
    const std::string text = ErrorReportText(flags);
    if (parser.IsSet(jsonOption)) {
      const bool none = flags == 0 || text == kNoErrorsText;
      PrintJson(cli, Json{{"flags", flags},
                          {"errors", none ? std::vector<std::string>() : Lines(text, false)}});
    } else {
      Print(cli, WithFinalLineFeed(text));
    }
    if (parser.IsSet(clearOption)) {
      Link& link = program.link;
      CurrentCommand(link) = kLetterClearErrors;  // the next idle branch sends it once
      if (!WaitUntil(program, [&link] { return CurrentCommand(link) != kLetterClearErrors; })) {
        return kExitNoAnswer;
      }
      std::fputs("Clear request sent.\n", cli.err);
    }
    return kExitDone;
  });
}

int RunVersion(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int jsonOption = parser.Add({.names = {"json"}});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kVersionHelp, 0, 0)) {
    return *code;
  }
  return WithController(cli, [&](Program& program) {
    cli.desktop.SetProgressTitle("Reading version");
    if (!ReadFrom(program, kFirstVersionRegister)) {
      return kExitNoAnswer;
    }
    const std::string text = Latin1ToUtf8(VersionReportText(program.link.image));
    if (parser.IsSet(jsonOption)) {
      const std::vector<std::string> lines = Lines(text, true);
      PrintJson(cli, Json{{"hardware", VersionPart(lines, 0)},
                          {"firmware", VersionPart(lines, 1)},
                          {"serial", VersionPart(lines, 2)},
                          {"text", text}});
    } else {
      Print(cli, WithFinalLineFeed(text));
    }
    return kExitDone;
  });
}

}  // namespace zav::cli
