#include "ui/commands.h"

#include "link/block_transfer.h"
#include "link/poll_cycle.h"
#include "params/config_library.h"
#include "params/parameter_file_commands.h"
#include "params/parameter_set.h"
#include "params/parameters_dialog.h"
#include "params/send_question.h"
#include "resources/menu.h"
#include "ui/reports.h"
#include "upgrade/upgrade_checks.h"
#include "upgrade/upgrade_command.h"

namespace zav {

namespace {

bool AskQuestion(Link& link, const char* question) {
  return link.desktop->ShowMessage(link.mainWindow, question, kQuestionBoxCaption,
                                   MessageButtons::OkCancel,
                                   MessageIcon::Information) == MessageAnswer::Ok;
}

}  // namespace

void ReadFromZav(Link& link) {
  if (AskQuestion(link, kReadQuestion)) {
    RunBlockTransfer(link, kFirstImageRegister, kLetterQuery);
  }
}

void SetZav(Link& link, const ParameterState& state) {
  OfferParameterWrite(link, state, link.mainWindow);
}

void RunMenuCommand(Program& program, int commandId) {
  Link& link = program.link;
  switch (commandId) {
    case kCommandOpen:
      OpenParameterFile(link, program.parameters);
      break;
    case kCommandSave:
      SaveParameterFile(link);
      break;
    case kCommandEdit:
      RunParametersDialog(link, program.parameters);
      break;
    case kCommandDefaultValues:
      ApplyDefaults(link.image);
      program.parameters.imageHasSource = true;
      break;
    case kCommandShowErrors:
      ErrorReport(link);
      break;
    case kCommandUpgrade:
      UpgradeCommand(link, program.upload, [&program](const FirmwareImage& firmware) {
        return PassUpgradeChecks(program.link, program.statusWatch, firmware.fileBytes);
      });
      break;
    case kCommandZavVersion:
      VersionReport(link);
      break;
    case kCommandReadFromZav:
      ReadFromZav(link);
      break;
    case kCommandSetZav:
      SetZav(link, program.parameters);
      break;
    default:
      break;
  }
}

void LoadLibrary(Program& program) {
  LoadConfigLibrary(program.library, program.link.settingsFile);
}

void ReleaseLibrary(Program& program) {
  ReleaseConfigLibrary(program.library);
}

}  // namespace zav
