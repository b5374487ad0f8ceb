#pragma once
// The receiving side of a firmware upload: XMODEM with 128-byte blocks and the 8-bit sum of
// the data as checksum. The controller asks for a block with NAK and takes it with ACK; the
// sender ends with EOT. A packet is SOH, block number, 255 minus the block number, 128 data
// bytes and the checksum. Block numbers count from 1 and wrap from 255 to 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/line_time.h"

namespace zav::sim {

inline constexpr std::uint8_t kSoh = 0x01;
inline constexpr std::uint8_t kEot = 0x04;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kCan = 0x18;

inline constexpr std::size_t kBlockSize = 128;   // bytes
inline constexpr std::size_t kPacketSize = 132;  // bytes
// Far more than any firmware of this controller (1 MiB); the tool sends 240 blocks.
inline constexpr std::size_t kMaxBlocks = 8192;

// After this long with no byte either way the controller asks again with NAK: for a block
// that never came, or for one that stopped arriving half-way (us).
inline constexpr Micros kRepromptSilence = 1 * kSecond;
// After this long with nothing from the sender the controller gives the upload up (us).
inline constexpr Micros kGiveUpSilence = 60 * kSecond;

enum class UploadStage {
  kAwaitingPacket,  // the next byte starts a packet, ends the upload (EOT) or cancels it (CAN)
  kInPacket,
  kPurging,  // something else came: everything is dropped until the line goes quiet
};

struct UploadState {
  UploadStage stage = UploadStage::kAwaitingPacket;
  std::array<std::uint8_t, kPacketSize> packet{};
  std::size_t packetLength = 0;
  std::vector<std::uint8_t> image;
  std::size_t blocksStored = 0;
  int cancelsInARow = 0;
  Micros lastInputAt = 0;
  Micros lastAnswerAt = 0;
};

enum class UploadVerdict {
  kNothing,            // no answer due
  kNewBlock,           // the next block, sound: take it with AcceptBlock and answer ACK
  kDuplicateBlock,     // the last block again, its ACK having been lost: ACK, store nothing
  kBadPacket,          // damaged or out of sequence: NAK
  kEndOfTransmission,  // EOT: ACK; the image is complete
  kCancelled,          // the sender cancelled with two CAN
  kImageFull,          // one block more than kMaxBlocks
};

enum class SilenceVerdict { kNothing, kReprompt, kGiveUp };

UploadState StartUpload(Micros now);

UploadVerdict TakeUploadByte(UploadState& upload, std::uint8_t byte, Micros at);

// Stores the data of the packet just judged kNewBlock.
void AcceptBlock(UploadState& upload);
std::uint8_t PacketBlockNumber(const UploadState& upload);

// Records that the controller answered at `at`, which restarts the wait for the sender.
void NoteAnswer(UploadState& upload, Micros at);

// What a quiet line asks for at `now`. `lineIdleAt` is when the controller's own last answer
// has left the line. A reprompt also drops a partial packet.
SilenceVerdict CheckUploadSilence(UploadState& upload, Micros now, Micros lineIdleAt);

}  // namespace zav::sim
