#include "upgrade/upload_silence.h"

#include "upgrade/upload_exchange.h"

namespace zav {

namespace {

void ShowSilence(Link& link, WindowRef dialog, std::uint32_t seconds) {
  link.connection.uploadSilentSeconds = seconds;
  link.desktop->SetStatusLine(dialog, seconds == 0 ? std::string() : SilentReceiverText(seconds));
}

}  // namespace

std::string SilentReceiverText(std::uint32_t seconds) {
  return "No answer from the controller for " + std::to_string(seconds) + " s";
}

void FollowUploadAnswers(Link& link, UploadState& upload, WindowRef dialog, int periodMs,
                         std::optional<std::uint8_t> byte) {
  if (byte == kAck || byte == kNak) {
    upload.silentTicks = 0;
    if (link.connection.uploadSilentSeconds != 0) {
      ShowSilence(link, dialog, 0);
    }
    return;
  }
  ++upload.silentTicks;
  const std::uint64_t silentMs =
      std::uint64_t{upload.silentTicks} * static_cast<unsigned>(periodMs);
  const auto seconds = static_cast<std::uint32_t>(silentMs / 1000);
  if (silentMs >= kSilentUploadMs && seconds != link.connection.uploadSilentSeconds) {
    ShowSilence(link, dialog, seconds);
  }
}

void ClearUploadSilence(Link& link, UploadState& upload) {
  upload.silentTicks = 0;
  link.connection.uploadSilentSeconds = 0;
}

}  // namespace zav
