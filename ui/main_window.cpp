#include "ui/main_window.h"

#include <string>

#include "link/block_transfer.h"
#include "link/poll_cycle.h"
#include "link/serial_port.h"
#include "params/parameter_file_commands.h"
#include "resources/menu.h"
#include "texts/captions.h"
#include "ui/calibration_commands.h"
#include "ui/commands.h"
#include "ui/connection_commands.h"
#include "ui/data_log_commands.h"
#include "ui/extra_commands.h"
#include "ui/live_display.h"

namespace zav {

namespace {

void FillPortList(Desktop& desktop, WindowRef window, std::uint8_t portNumber) {
  for (int port = 1; port <= kPortCount; ++port) {
    desktop.AddListEntry(window, kPortList, "COM" + std::to_string(port));
  }
  if (portNumber != 0) {
    desktop.SelectListEntry(window, kPortList, portNumber - 1);
  }
}

// Taken out before it is opened: the question it asks runs ticks of its own.
void OpenFileGivenAtStart(Program& program) {
  if (program.fileToOpen.empty()) {
    return;
  }
  const std::filesystem::path file = std::move(program.fileToOpen);
  program.fileToOpen.clear();
  OpenParameterFileAt(program.link, program.parameters, file);
}

// The box that the port could not be opened, shown once the window is whole. A retry that
// gets the port while it is open closes it: its advice no longer applies, and the status
// line says when the port was got.
void ShowPortErrorBox(Program& program, WindowRef window) {
  const Connection& connection = program.link.connection;
  program.link.desktop->ShowMessageUntil(window, kPortErrorText, kErrorCaption, MessageButtons::Ok,
                                         MessageIcon::Error,
                                         [&connection] { return PortIsOpen(connection.state); });
}

}  // namespace

void InitMainWindow(Program& program, Desktop& desktop, WindowRef window) {
  Link& link = program.link;
  link.mainWindow = window;
  const bool opened = OpenSerialPort(link);
  // The status line says why, under the box that says it failed.
  InitConnectionExtras(program, window);
  ShowStatusLine(program.statusLine, desktop, window);
  // The ticks run from the start, behind the box too: a busy port is tried again meanwhile.
  desktop.SetTimer(window, kPollTimerId, kPollPeriodMs);
  FillPortList(desktop, window, link.portNumber);
  SetupBars(desktop, window);
  desktop.AddToolbarButtons(window, kToolbar, MainToolbarButtons());
  AssignCaptions(desktop, window, kMainCaptions, kFirstMainCaption, kLastMainCaption);
  AssignCaptions(desktop, window, kParameterCaptions, kFirstParameterCaption,
                 kLastParameterCaption);
  LoadLibrary(program);
  // Features added around the template register their menu items and handlers below
  // (AddExtraCommand) and fill their segment of program.statusLine.
  AddDataLogCommands(program, window);
  AddCalibrationCommand(program, window);
  if (!opened) {
    ShowPortErrorBox(program, window);
  }
}

void DispatchCommand(Program& program, Desktop& desktop, WindowRef window, int commandId,
                     int code) {
  if (commandId == kPortList) {
    if (code == kSelectionChange) {
      SelectPort(program.link, desktop.SelectedListEntry(window, kPortList));
    }
    return;
  }
  if (commandId == kSwitchButton) {
    CurrentCommand(program.link) = kLetterSwitch;
    return;
  }
  if (commandId >= kFirstExtraCommand) {
    RunExtraCommand(program, commandId);
    return;
  }
  RunMenuCommand(program, commandId);
}

void CloseMainWindow(Program& program, Desktop& desktop, WindowRef window) {
  // The recording ends first, while the window can still own a box saying it failed.
  EndDataLog(program, window);
  ClosePort(program.link);
  desktop.EndDialog(window, 0);
  desktop.KillTimer(window, kPollTimerId);
  ReleaseLibrary(program);
}

bool MainWindowProc(Program& program, Desktop& desktop, WindowRef window,
                    const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      InitMainWindow(program, desktop, window);
      return true;
    case DialogMessage::Command:
      DispatchCommand(program, desktop, window, event.id, event.code);
      return true;
    case DialogMessage::Timer:
      OpenFileGivenAtStart(program);
      PollTick(program.link);
      FollowConnection(program);
      ShowStatusLine(program.statusLine, desktop, window);
      ReportRecordingFailure(program, window);
      return true;
    case DialogMessage::Close:
      CloseMainWindow(program, desktop, window);
      return true;
    default:
      return false;
  }
}

}  // namespace zav
