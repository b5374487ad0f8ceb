// zavctl write: a .car file into the controller through the window's own write request
// (the switch to "Petrol", then the block write of registers 80 to 92), optionally read
// back and compared.

#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/register_table.h"
#include "link/block_transfer.h"
#include "link/poll_cycle.h"
#include "params/parameter_file.h"
#include "platform/files/path_text.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kWriteHelp{
    "write FILE.car [--verify]",
    "Writes registers 80 to 92 from FILE.car to the controller with the window's \"Set ZAV\"\n"
    "handshake: the controller is asked to switch until it reports \"Petrol\", then the\n"
    "registers are written one by one. Registers 93 and 94 are never written.\n\n"
    "  --verify  then read registers 80 to 102 back and list every written register that\n"
    "            differs (exit code 1)"};

bool WriteEnded(const Link& link) {
  return link.cycle.sendRequest == SendRequest::None && link.cycle.transferCursor == kNoTransfer;
}

// Registers 80 to 92 that the controller does not hold as written; printed.
int ListDifferences(const CliContext& cli, const RegisterImage& image,
                    const ParameterWords& written) {
  std::string text;
  int differences = 0;
  for (unsigned address = kFirstImageRegister; address <= kLastWritableRegister; ++address) {
    const auto shortAddress = static_cast<std::uint8_t>(address);
    const std::uint16_t wanted = written[address - kFirstImageRegister];
    const std::uint16_t held = RegisterValue(image, shortAddress);
    if (wanted != held) {
      ++differences;
      text += RegisterLine(shortAddress,
                           std::to_string(held) + " (written " + std::to_string(wanted) + ")");
    }
  }
  if (differences == 0) {
    Print(cli, "Verified: the controller holds every value written (registers 80 to 92).\n");
  } else {
    Print(cli, std::to_string(differences) + " of 13 registers did not take:\n" + text);
  }
  return differences;
}

}  // namespace

int RunWrite(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int verifyOption = parser.Add({.names = {"verify"}});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kWriteHelp, 1, 1)) {
    return *code;
  }
  const LoadedParameters loaded = ReadParameterFile(PathFromUtf8(parser.Positional().at(0)));
  if (!loaded.words) {
    Complain(cli, loaded.error);
    return kExitPortOrFile;
  }
  const ParameterWords words = *loaded.words;
  return WithController(cli, [&](Program& program) {
    Link& link = program.link;
    StoreParameters(link.image, words);
    std::fputs("Waiting for the controller to report Petrol, then writing registers 80 to 92.\n",
               cli.err);
    cli.desktop.SetProgressTitle("Writing");
    RequestParameterWrite(link);
    if (!WaitUntil(program, [&link] { return WriteEnded(link); })) {
      return kExitNoAnswer;
    }
    std::fputs("Written.\n", cli.err);
    if (!parser.IsSet(verifyOption)) {
      return kExitDone;
    }
    cli.desktop.SetProgressTitle("Verifying");
    if (RunBlockTransfer(link, kFirstImageRegister, kLetterQuery) != 1) {
      return kExitNoAnswer;
    }
    return ListDifferences(cli, link.image, words) == 0 ? kExitDone : kExitDifferences;
  });
}

}  // namespace zav::cli
