#include "upgrade/upload_dialog.h"

#include <array>

#include "link/serial_port.h"
#include "resources/transfer_template.h"
#include "upgrade/upload_exchange.h"
#include "upgrade/upload_packet.h"
#include "upgrade/upload_silence.h"

namespace zav {

namespace {

void BeginUpload(Link& link, UploadState& upload, Desktop& desktop, WindowRef window) {
  BeginExchange(upload);
  upload.startedAtMs = desktop.NowMs();
  upload.ending = UploadEnding::kRunning;
  upload.stopToReport = false;
  ClearUploadSilence(link, upload);
  DrainInput(link);  // what came before the dialog opened answers nothing we sent
  desktop.SetBarRange(window, kTransferProgressBar, 0, kEndOfTransmissionStage);
  desktop.SetTimer(window, kUploadTimerId, kUploadTickMs);
}

void EndUpload(Link& link, UploadState& upload, Desktop& desktop, WindowRef window, int result) {
  ClearUploadSilence(link, upload);
  upload.image = {};
  upload.endedAtMs = desktop.NowMs();
  upload.ending = result == 1 ? UploadEnding::kFinished : UploadEnding::kStopped;
  upload.stopToReport = result != 1;
  desktop.KillTimer(window, kUploadTimerId);
  desktop.EndDialog(window, result);
}

void Send(Link& link, const UploadState& upload, UploadStep step) {
  if (step == UploadStep::kNothing) {
    return;
  }
  if (step == UploadStep::kSendPacket) {
    const UploadPacket packet = BuildUploadPacket(upload.image, upload.blockCounter);
    WritePortBytes(link, packet);
  } else if (step == UploadStep::kSendEndOfTransmission) {
    const std::array<std::uint8_t, 1> eot{kEot};
    WritePortBytes(link, eot);
  }
}

// The upload goes on behind the question (its timer keeps running), so it may have ended by
// the time the fitter answers.
void StopWhenConfirmed(Link& link, UploadState& upload, Desktop& desktop, WindowRef window) {
  if (upload.confirmStop && !desktop.AskToGoOn(window, kStopUpgradeQuestion, kStopUpgradeCaption,
                                               kStopUpgradeLabel, MessageIcon::Warning)) {
    return;
  }
  if (upload.ending == UploadEnding::kRunning) {
    EndUpload(link, upload, desktop, window, 0);
  }
}

void OnUploadTick(Link& link, UploadState& upload, Desktop& desktop, WindowRef window) {
  desktop.SetBarPosition(window, kTransferProgressBar, upload.blockCounter);
  const std::optional<std::uint8_t> byte = ReadPortByte(link);
  FollowUploadAnswers(link, upload, window, kUploadTickMs, byte);
  if (!byte) {
    return;
  }
  const UploadStep step = TakeControllerByte(upload, *byte);
  if (step == UploadStep::kFinished) {
    EndUpload(link, upload, desktop, window, 1);
    return;
  }
  // NAKs still waiting behind the one just taken left the controller while the line was
  // busy: it repeats them about once a second. Each would bring the packet again, the
  // controller would take every copy with an ACK, and those ACKs would carry the sender past
  // blocks the controller has not got, so that the EOT goes out early and the upload seems
  // done before it is. So a NAK first drops what is waiting behind it. After an ACK nothing
  // is drained: a healthy line then has nothing waiting, and the 1 ms a drain costs would
  // add up over 240 blocks.
  if (step != UploadStep::kNothing && *byte == kNak) {
    DrainInput(link);
  }
  Send(link, upload, step);
}

}  // namespace

bool UploadProc(Link& link, UploadState& upload, Desktop& desktop, WindowRef window,
                const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      BeginUpload(link, upload, desktop, window);
      return true;
    case DialogMessage::Timer:
      OnUploadTick(link, upload, desktop, window);
      return true;
    case DialogMessage::Command:
      // Every other command, Escape and Enter included, is taken and ignored.
      if (event.id == kTransferCancelButton) {
        StopWhenConfirmed(link, upload, desktop, window);
      }
      return true;
    case DialogMessage::Close:
      StopWhenConfirmed(link, upload, desktop, window);
      return true;
    default:
      return false;
  }
}

void RunUploadDialog(Link& link, UploadState& upload) {
  link.desktop->RunDialog(
      TransferTemplate(), link.mainWindow,
      [&link, &upload](Desktop& desktop, WindowRef window, const DialogEvent& event) {
        return UploadProc(link, upload, desktop, window, event);
      });
}

}  // namespace zav
