#include "ui/commands.h"

#include "link/block_transfer.h"
#include "link/poll_cycle.h"
#include "resources/menu.h"

namespace zav {

namespace {

bool AskQuestion(Link& link, const char* question) {
  return link.desktop->ShowMessage(link.mainWindow, question, kQuestionCaption,
                                   MessageButtons::OkCancel,
                                   MessageIcon::Information) == MessageAnswer::Ok;
}

}  // namespace

void ReadFromZav(Link& link) {
  if (AskQuestion(link, kReadQuestion)) {
    RunBlockTransfer(link, kFirstImageRegister, kLetterQuery);
  }
}

void SetZav(Link& link) {
  if (AskQuestion(link, kSendQuestion)) {
    RequestParameterWrite(link);
  }
}

void RunMenuCommand(Program& program, int commandId) {
  switch (commandId) {
    case kCommandReadFromZav:
      ReadFromZav(program.link);
      break;
    case kCommandSetZav:
      SetZav(program.link);
      break;
    default:
      break;
  }
}

void LoadLibrary(Program&) {}

void ReleaseLibrary(Program&) {}

}  // namespace zav
