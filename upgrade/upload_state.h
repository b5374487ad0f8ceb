#pragma once
// The firmware upload: the image read when the file was chosen, and the sender's progress.

#include <cstdint>
#include <vector>

namespace zav {

enum class UploadEnding {
  kNone,      // no upload has run yet
  kRunning,   // the upload dialog is open
  kFinished,  // the EOT was acknowledged
  kStopped,   // Cancel, or the dialog was closed, before the end
};

struct UploadState {
  std::vector<std::uint8_t> image;  // the file's first 30,720 bytes at most
  std::uint8_t blockCounter = 0;    // 1 to 240 blocks, 241 EOT stage, 242 done; 0 not started
  // A packet or the EOT has gone out and no ACK has been taken for it yet. Only then can an
  // ACK be the controller's answer.
  bool awaitingAnswer = false;

  // For the words about the upload; none of it changes what is sent.
  std::uint32_t repeats = 0;     // packets (or the EOT) sent again on a NAK
  std::int64_t startedAtMs = 0;  // desktop clock (ms) when the upload dialog opened
  std::int64_t endedAtMs = 0;    // and when it closed
  UploadEnding ending = UploadEnding::kNone;
  bool stopToReport = false;  // a stopped upload whose warning has not been shown yet
  // The window asks before Cancel or the close box stops a running upload; a script's host
  // (zavctl's Ctrl-C) stops at once.
  bool confirmStop = false;
  std::uint32_t silentTicks = 0;  // upload ticks since the last ACK or NAK
};

}  // namespace zav
