#include "link/block_transfer.h"

#include "resources/transfer_template.h"

namespace zav {

namespace {

constexpr int kReadProgressEnd = 23;   // registers 80 to 102
constexpr int kWriteProgressEnd = 13;  // registers 80 to 92

void StopTransfer(Desktop& desktop, WindowRef window, int result) {
  desktop.KillTimer(window, kTransferTimerId);
  desktop.EndDialog(window, result);
}

}  // namespace

bool TransferDialogProc(Link& link, Desktop& desktop, WindowRef window, const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init: {
      const bool writing = CurrentCommand(link) == kLetterSet;
      desktop.SetBarRange(window, kTransferProgressBar, 0,
                          writing ? kWriteProgressEnd : kReadProgressEnd);
      desktop.SetTimer(window, kTransferTimerId, kTransferWatchPeriodMs);
      return true;
    }
    case DialogMessage::Timer:
      if (link.cycle.transferCursor == kNoTransfer) {
        StopTransfer(desktop, window, 1);
      }
      desktop.SetBarPosition(window, kTransferProgressBar,
                             link.cycle.transferCursor - kFirstImageRegister);
      return true;
    case DialogMessage::Command:
      // Every other command, Escape and Enter included, is taken and ignored.
      if (event.id == kTransferCancelButton) {
        link.cycle.transferCursor = kNoTransfer;
        StopTransfer(desktop, window, 0);
      }
      return true;
    case DialogMessage::Close:
      link.cycle.transferCursor = kNoTransfer;
      StopTransfer(desktop, window, 0);
      return true;
    default:
      return false;
  }
}

int RunBlockTransfer(Link& link, std::uint8_t firstRegister, std::uint8_t letter) {
  link.cycle.transferCursor = firstRegister;
  CurrentCommand(link) = letter;
  const int result =
      link.desktop->RunDialog(TransferTemplate(), link.mainWindow,
                              [&link](Desktop& desktop, WindowRef window, const DialogEvent& e) {
                                return TransferDialogProc(link, desktop, window, e);
                              });
  if (result == 1 && letter == kLetterQuery && firstRegister == kFirstImageRegister &&
      link.hooks.parametersRead) {
    link.hooks.parametersRead();
  }
  return result;
}

}  // namespace zav
