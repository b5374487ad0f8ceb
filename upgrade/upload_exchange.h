#pragma once
// The sending side of the block exchange, one controller byte at a time. The controller
// drives it: NAK asks for the current block (again), ACK takes it and asks for the next.
// After block 240 the EOT goes out alone, and the ACK of the EOT ends the upload. No time
// limits and no retry limits: the user's Cancel is the only other way out.

#include <cstdint>

#include "upgrade/firmware_layout.h"
#include "upgrade/upload_state.h"

namespace zav {

inline constexpr std::uint8_t kEot = 0x04;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;

// Values of UploadState::blockCounter beyond the blocks.
inline constexpr std::uint8_t kEndOfTransmissionStage = kFirmwareBlocks + 1;  // 241
inline constexpr std::uint8_t kUploadFinished = kFirmwareBlocks + 2;          // 242

enum class UploadStep {
  kNothing,                // the byte was dropped
  kSendPacket,             // send the packet of blockCounter
  kSendEndOfTransmission,  // send the single byte EOT
  kFinished,               // the EOT was acknowledged
};

// Block 1 is next; nothing has gone out yet.
void BeginExchange(UploadState& upload);

// Takes one byte from the controller and says what to send in answer. Only ACK and NAK
// count; 'C', CAN and every other byte are dropped, and so is an ACK while nothing awaits
// an answer (one before the first block), which would otherwise skip a block.
UploadStep TakeControllerByte(UploadState& upload, std::uint8_t byte);

}  // namespace zav
