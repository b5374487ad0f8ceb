#pragma once
// The firmware upload: the image read when the file was chosen, and the sender's progress.

#include <cstdint>
#include <vector>

namespace zav {

struct UploadState {
  std::vector<std::uint8_t> image;  // the file's first 30,720 bytes at most
  std::uint8_t blockCounter = 0;    // 1 to 240 blocks, 241 EOT stage, 242 done; 0 not started
  // A packet or the EOT has gone out and no ACK has been taken for it yet. Only then can an
  // ACK be the controller's answer.
  bool awaitingAnswer = false;
  std::uint32_t silentTicks = 0;  // upload ticks since the last ACK or NAK
};

}  // namespace zav
