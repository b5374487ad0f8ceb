// zavctl flash: the window's "Upgrade" with the file named on the command line: the same
// upload armed for the next poll tick, the same 'U' frame and the same XMODEM sender.

#include <optional>
#include <system_error>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "upgrade/firmware_image.h"
#include "upgrade/firmware_layout.h"
#include "upgrade/upgrade_command.h"
#include "upgrade/upload_dialog.h"
#include "upgrade/upload_exchange.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kHelp{
    "flash IMAGE",
    "Uploads the firmware image to the controller as the window's \"Upgrade\" does: 240\n"
    "blocks of 128 bytes by XMODEM (checksum). An empty image, or one longer than 30720\n"
    "bytes, is refused before anything is sent. Progress shows on standard error. Ctrl-C\n"
    "stops the upload as the window's Cancel does: nothing more of it is sent."};

// Why the image cannot go out; nothing when it can.
std::optional<std::string> ImageProblem(const std::string& path) {
  const FirmwareImage image = ReadFirmwareImage(path);
  if (!image.problem.empty()) {
    return FirmwareProblemText(path, image.problem);
  }
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kFirmwareImageBytes) {
    return "Cannot upgrade from \"" + path + "\": it holds " + std::to_string(size) +
           " bytes, more than a controller image (" + std::to_string(kFirmwareImageBytes) +
           " bytes); is it the right file?";
  }
  return std::nullopt;
}

}  // namespace

int RunFlash(CliContext& cli, const QStringList& args) {
  QCommandLineParser parser;
  parser.addPositionalArgument("IMAGE", "the firmware file");
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kHelp, 1, 1)) {
    return *code;
  }
  const std::string path = Text(parser.positionalArguments().at(0));
  if (const std::optional<std::string> problem = ImageProblem(path)) {
    Complain(cli, *problem);
    return kExitPortOrFile;
  }
  return WithController(cli, [&](Program& program) {
    Link& link = program.link;
    link.hooks.runUpload = [&program] { RunUploadDialog(program.link, program.upload); };
    cli.desktop.SetFileToOpen(path);
    cli.desktop.SetProgressTitle("Uploading");
    UpgradeCommand(link, program.upload);
    if (link.cycle.upgradeArmed == 0) {
      return kExitPortOrFile;  // the file could not be used; the box said why
    }
    if (!WaitUntil(program, [&link] { return link.cycle.upgradeArmed == 0; })) {
      return kExitNoAnswer;
    }
    if (program.upload.blockCounter != kUploadFinished) {
      return kExitNoAnswer;
    }
    std::fprintf(cli.err, "Uploaded %zu bytes in %d blocks.\n", kFirmwareImageBytes,
                 kFirmwareBlocks);
    return kExitDone;
  });
}

}  // namespace zav::cli
