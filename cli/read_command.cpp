// zavctl read: the block read of registers 80 to 102, listed, and saved as the window's
// "Save" would save it.

#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "cli/output_file.h"
#include "cli/register_table.h"
#include "link/block_transfer.h"
#include "params/config_name.h"
#include "params/parameter_file.h"
#include "platform/files/path_text.h"
#include "platform/latin1_text.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kReadHelp{
    "read [-o FILE.car] [--json]",
    "Reads registers 80 to 102 from the controller as the window's \"Read from ZAV\" does and\n"
    "prints each with its caption, value and unit, and the name of the configuration in the\n"
    "library of zavmon.cfg that the values match.\n\n"
    "  -o FILE.car  also save registers 80 to 95 as the window's \"Save\" does (an existing\n"
    "               file is replaced whole, only once the read has completed); -o - writes\n"
    "               the 32 bytes to standard output, and the list goes to standard error\n"
    "  --json       one object: each register by number with caption, unit and value, and\n"
    "               \"config_name\" (null without a library, \"\" when none matches)"};

void PrintRegisters(const CliContext& cli, const RegisterImage& image,
                    const std::optional<std::string>& configName, bool json) {
  if (json) {
    Json object = RegistersJson(image, kFirstImageRegister, kLastImageRegister);
    object["config_name"] = configName ? Json(Latin1ToUtf8(*configName)) : Json(nullptr);
    PrintJson(cli, object);
    return;
  }
  std::string text;
  for (unsigned address = kFirstImageRegister; address <= kLastImageRegister; ++address) {
    const auto shortAddress = static_cast<std::uint8_t>(address);
    text += RegisterLine(shortAddress, std::to_string(RegisterValue(image, shortAddress)));
  }
  Print(cli, text + ConfigNameLine(configName ? std::optional(Latin1ToUtf8(*configName))
                                              : std::nullopt));
}

}  // namespace

int RunRead(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int outOption = parser.Add({.names = {"o"}, .takesValue = true});
  const int jsonOption = parser.Add({.names = {"json"}});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kReadHelp, 0, 0)) {
    return *code;
  }
  const std::string outPath = parser.Value(outOption);
  const bool toStandardOutput = parser.IsSet(outOption) && outPath == "-";
  if (parser.IsSet(outOption) && !toStandardOutput) {
    if (const std::optional<std::string> problem = OutputPathProblem(PathFromUtf8(outPath))) {
      Complain(cli, *problem);
      return kExitPortOrFile;
    }
  }
  return WithController(cli, [&](Program& program) {
    cli.desktop.SetProgressTitle("Reading");
    if (RunBlockTransfer(program.link, kFirstImageRegister, kLetterQuery) != 1) {
      return kExitNoAnswer;
    }
    LoadConfigLibrary(program.library, program.link.settingsFile);
    const std::optional<std::string> name =
        ConfigNameFor(program.library, ParametersOf(program.link.image));
    if (toStandardOutput) {
      // Standard output carries the file alone, so that it can be piped or redirected.
      CliContext listing = cli;
      listing.out = cli.err;
      PrintRegisters(listing, program.link.image, name, parser.IsSet(jsonOption));
      const ParameterFileBytes bytes = EncodeParameterFile(program.link.image);
      if (std::fwrite(bytes.data(), 1, bytes.size(), cli.out) != bytes.size() ||
          std::fflush(cli.out) != 0) {
        Complain(cli, "cannot write to standard output");
        return kExitPortOrFile;
      }
      return kExitDone;
    }
    PrintRegisters(cli, program.link.image, name, parser.IsSet(jsonOption));
    if (parser.IsSet(outOption)) {
      if (const std::optional<std::string> problem =
              WriteParameterFile(PathFromUtf8(outPath), EncodeParameterFile(program.link.image))) {
        Complain(cli, *problem);
        return kExitPortOrFile;
      }
    }
    return kExitDone;
  });
}

}  // namespace zav::cli
