// zavctl flash: the window's "Upgrade" with the file named on the command line: the same
// upload armed for the next poll tick, the same 'U' frame and the same XMODEM sender.

#include <cstdint>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "platform/files/path_text.h"
#include "upgrade/firmware_image.h"
#include "upgrade/firmware_layout.h"
#include "upgrade/status_watch.h"
#include "upgrade/upgrade_checks.h"
#include "upgrade/upgrade_command.h"
#include "upgrade/upload_dialog.h"
#include "upgrade/upload_exchange.h"
#include "upgrade/upload_report.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kFlashHelp{
    "flash IMAGE [--yes]",
    "Uploads the firmware image to the controller as the window's \"Upgrade\" does: 240\n"
    "blocks of 128 bytes by XMODEM (checksum). An empty image is refused before anything is\n"
    "sent. First come the window's checks, each asking only when it applies: a controller\n"
    "that does not answer, an image longer than 30720 bytes (only its start is sent), and a\n"
    "controller not on petrol (it is switched to petrol first). On a terminal they are asked\n"
    "(y/N); --yes answers them all with go on; otherwise the upload is refused with exit code\n"
    "2 and the question. Progress shows on standard error. Ctrl-C stops the upload as the\n"
    "window's Cancel does: nothing more of it is sent."};

// Lets status frames arrive before the checks look for them. When the questions are
// answered, a controller still silent after --timeout is asked about; otherwise the silence
// ends the session as any other command's does (exit code 4).
bool WaitForAnswer(CliContext& cli, Program& program, GoOnAnswers answers) {
  Desktop& desktop = cli.desktop;
  const auto answering = [&] { return ControllerAnswering(program.statusWatch, desktop.NowMs()); };
  if (answers == GoOnAnswers::Refuse) {
    return WaitUntil(program, answering);
  }
  const std::int64_t startMs = desktop.NowMs();
  const std::int64_t limitMs = std::int64_t{cli.global.timeoutS} * 1000;
  const auto waited = [&] { return desktop.NowMs() - startMs; };
  // The growing wait counts as progress: this wait ends itself, silence is asked about.
  return WaitUntil(
      program, [&] { return answering() || waited() >= limitMs; },
      [&] { return static_cast<int>(waited()); });
}

// An upload that began and did not finish leaves part of an image in the controller: the
// window's warning, on standard error.
void WarnIfStopped(const CliContext& cli, const UploadState& upload) {
  if (upload.blockCounter != 0 && upload.blockCounter != kUploadFinished) {
    Complain(cli, UploadStoppedWarning(upload));
  }
}

// The exit code after the checks said no.
int Refused(CliContext& cli) {
  const GoOnOutcome& outcome = cli.desktop.LastGoOn();
  if (outcome.refused) {
    Complain(cli, "flash: " + outcome.question + " Give --yes to go on.");
    return kExitUsage;
  }
  if (outcome.declined) {
    Complain(cli, "cancelled");
    return kExitCancelled;
  }
  return kExitNoAnswer;  // the controller did not reach petrol; the message said so
}

}  // namespace

int RunFlash(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int yesOption = parser.Add({.names = {"yes"}});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kFlashHelp, 1, 1)) {
    return *code;
  }
  const std::string path = parser.Positional().at(0);
  if (const FirmwareImage image = ReadFirmwareImage(PathFromUtf8(path)); !image.problem.empty()) {
    Complain(cli, FirmwareProblemText(path, image.problem));
    return kExitPortOrFile;
  }
  const GoOnAnswers answers = cli.desktop.AnswersFor(parser.IsSet(yesOption));
  cli.desktop.SetGoOnAnswers(answers);
  return WithController(cli, [&](Program& program) {
    Link& link = program.link;
    link.hooks.runUpload = [&program] { RunUploadDialog(program.link, program.upload); };
    link.hooks.showStatusText = [&program](std::uint16_t status) {
      NoteStatusFrame(program.statusWatch, status, program.link.desktop->NowMs());
    };
    if (!WaitForAnswer(cli, program, answers)) {
      return kExitNoAnswer;
    }
    cli.desktop.SetFileToOpen(path);
    cli.desktop.SetProgressTitle("Uploading");
    UpgradeCommand(link, program.upload, [&program](const FirmwareImage& firmware) {
      return PassUpgradeChecks(program.link, program.statusWatch, firmware.fileBytes);
    });
    if (link.cycle.upgradeArmed == UpgradeArming::Disarmed) {
      return cli.desktop.LastGoOn().question.empty() ? kExitPortOrFile : Refused(cli);
    }
    if (!WaitUntil(program,
                   [&link] { return link.cycle.upgradeArmed == UpgradeArming::Disarmed; }) ||
        program.upload.blockCounter != kUploadFinished) {
      WarnIfStopped(cli, program.upload);
      return kExitNoAnswer;
    }
    std::fprintf(cli.err, "Uploaded %zu bytes in %d blocks.\n", kFirmwareImageBytes,
                 kFirmwareBlocks);
    return kExitDone;
  });
}

}  // namespace zav::cli
