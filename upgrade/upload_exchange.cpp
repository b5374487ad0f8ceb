#include "upgrade/upload_exchange.h"

namespace zav {

namespace {

bool ExchangeRunning(const UploadState& upload) {
  return upload.blockCounter >= 1 && upload.blockCounter <= kEndOfTransmissionStage;
}

}  // namespace

void BeginExchange(UploadState& upload) {
  upload.blockCounter = 1;
  upload.awaitingAnswer = false;
  upload.repeats = 0;
}

UploadStep TakeControllerByte(UploadState& upload, std::uint8_t byte) {
  if (!ExchangeRunning(upload) || (byte != kAck && byte != kNak)) {
    return UploadStep::kNothing;
  }
  if (byte == kAck) {
    if (!upload.awaitingAnswer) {
      return UploadStep::kNothing;
    }
    ++upload.blockCounter;
    if (upload.blockCounter == kUploadFinished) {
      upload.awaitingAnswer = false;
      return UploadStep::kFinished;
    }
  }
  if (byte == kNak && upload.awaitingAnswer) {
    ++upload.repeats;  // the controller wants the same packet (or EOT) once more
  }
  // Both a NAK and a counted ACK send whatever blockCounter now names.
  upload.awaitingAnswer = true;
  return upload.blockCounter == kEndOfTransmissionStage ? UploadStep::kSendEndOfTransmission
                                                        : UploadStep::kSendPacket;
}

}  // namespace zav
