#include "ui/program.h"

#include "params/config_name.h"
#include "resources/main_template.h"
#include "ui/commands.h"
#include "ui/data_log_commands.h"
#include "ui/live_display.h"
#include "ui/main_window.h"
#include "upgrade/upload_dialog.h"
#include "upgrade/upload_report.h"

namespace zav {

namespace {

void BindTickHooks(Program& program) {
  Link& link = program.link;
  // The tick's last step: also the place for what follows a finished upload step.
  link.hooks.showConfigName = [&program] {
    NotePollTick(program.statusWatch, program.link.desktop->NowMs());
    ShowConfigName(program.library, program.link.image, *program.link.desktop,
                   program.link.mainWindow);
    if (program.upload.ending != UploadEnding::kNone) {  // left alone until an upload ran
      program.statusLine.upgrade = UpgradeStatusText(program.upload, program.link.desktop->NowMs());
    }
    if (WarnOfStoppedUpload(program.link, program.upload)) {
      RunMenuCommand(program, kCommandUpgrade);  // as if "Upgrade" were chosen again
    }
  };
  link.hooks.runUpload = [&program] { RunUploadDialog(program.link, program.upload); };
  link.hooks.showStatusText = [&program, &link](std::uint16_t status) {
    NoteStatusFrame(program.statusWatch, status, link.desktop->NowMs());
    ShowStatusText(status, *link.desktop, link.mainWindow);
  };
  link.hooks.showLiveValues = [&link] {
    if (LiveValuesStale(link.connection)) {
      ShowStaleValues(*link.desktop, link.mainWindow);
    } else {
      ShowLiveValues(link.live, *link.desktop, link.mainWindow);
    }
  };
  link.hooks.showParameterValues = [&link] {
    ShowParameterValues(link.image, *link.desktop, link.mainWindow);
  };
}

}  // namespace

void SetUpProgram(Program& program, Desktop& desktop, SerialDevice& device,
                  const std::filesystem::path& workingFolder) {
  program.link.desktop = &desktop;
  program.link.device = &device;
  program.link.settingsFile = workingFolder / "zavmon.cfg";
  program.upload.confirmStop = true;  // the window asks before Cancel stops an upload
  BindTickHooks(program);
  BindControllerSet(program.parameters, program.link);
  BindDataLog(program);
}

int RunMainWindow(Program& program) {
  return program.link.desktop->RunDialog(
      MainTemplate(), WindowRef{},
      [&program](Desktop& desktop, WindowRef window, const DialogEvent& event) {
        return MainWindowProc(program, desktop, window, event);
      });
}

}  // namespace zav
