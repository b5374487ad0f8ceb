#include "sim/xmodem_receiver.h"

#include <algorithm>
#include <numeric>

namespace zav::sim {
namespace {

constexpr std::size_t kDataOffset = 3;
constexpr std::size_t kChecksumOffset = kDataOffset + kBlockSize;

std::uint8_t DataChecksum(const std::array<std::uint8_t, kPacketSize>& packet) {
  const auto data = packet.begin() + kDataOffset;
  const unsigned sum = std::accumulate(data, data + kBlockSize, 0U);
  return static_cast<std::uint8_t>(sum & 0xFFU);
}

std::uint8_t LastStoredBlockNumber(const UploadState& upload) {
  return static_cast<std::uint8_t>(upload.blocksStored & 0xFFU);
}

UploadVerdict JudgePacket(const UploadState& upload) {
  const auto& packet = upload.packet;
  const std::uint8_t block = packet[1];
  if (block + packet[2] != 0xFF || packet[kChecksumOffset] != DataChecksum(packet)) {
    return UploadVerdict::kBadPacket;
  }
  if (block == static_cast<std::uint8_t>(LastStoredBlockNumber(upload) + 1)) {
    return upload.blocksStored < kMaxBlocks ? UploadVerdict::kNewBlock : UploadVerdict::kImageFull;
  }
  if (upload.blocksStored > 0 && block == LastStoredBlockNumber(upload)) {
    return UploadVerdict::kDuplicateBlock;
  }
  return UploadVerdict::kBadPacket;
}

UploadVerdict TakePacketStart(UploadState& upload, std::uint8_t byte) {
  if (byte == kCan) {
    return ++upload.cancelsInARow >= 2 ? UploadVerdict::kCancelled : UploadVerdict::kNothing;
  }
  upload.cancelsInARow = 0;
  if (byte == kSoh) {
    upload.packet[0] = byte;
    upload.packetLength = 1;
    upload.stage = UploadStage::kInPacket;
    return UploadVerdict::kNothing;
  }
  if (byte == kEot) {
    return UploadVerdict::kEndOfTransmission;
  }
  // Not the answer to our last reply: the rest of a packet whose start was lost, or line
  // noise. An SOH or EOT inside it would mislead us, so wait for quiet and ask again.
  upload.stage = UploadStage::kPurging;
  return UploadVerdict::kNothing;
}

UploadVerdict TakePacketByte(UploadState& upload, std::uint8_t byte) {
  upload.packet[upload.packetLength++] = byte;
  if (upload.packetLength < kPacketSize) {
    return UploadVerdict::kNothing;
  }
  upload.packetLength = 0;
  upload.stage = UploadStage::kAwaitingPacket;
  return JudgePacket(upload);
}

}  // namespace

UploadState StartUpload(Micros now) {
  UploadState upload;
  upload.lastInputAt = now;
  upload.lastAnswerAt = now;
  return upload;
}

UploadVerdict TakeUploadByte(UploadState& upload, std::uint8_t byte, Micros at) {
  upload.lastInputAt = at;
  switch (upload.stage) {
    case UploadStage::kAwaitingPacket:
      return TakePacketStart(upload, byte);
    case UploadStage::kInPacket:
      return TakePacketByte(upload, byte);
    case UploadStage::kPurging:
      break;
  }
  return UploadVerdict::kNothing;
}

void AcceptBlock(UploadState& upload) {
  const auto data = upload.packet.begin() + kDataOffset;
  upload.image.insert(upload.image.end(), data, data + kBlockSize);
  ++upload.blocksStored;
}

std::uint8_t PacketBlockNumber(const UploadState& upload) {
  return upload.packet[1];
}

void NoteAnswer(UploadState& upload, Micros at) {
  upload.lastAnswerAt = at;
}

SilenceVerdict CheckUploadSilence(UploadState& upload, Micros now, Micros lineIdleAt) {
  if (now - upload.lastInputAt >= kGiveUpSilence) {
    return SilenceVerdict::kGiveUp;
  }
  const Micros quietSince = std::max({upload.lastInputAt, upload.lastAnswerAt, lineIdleAt});
  if (now - quietSince < kRepromptSilence) {
    return SilenceVerdict::kNothing;
  }
  upload.stage = UploadStage::kAwaitingPacket;
  upload.packetLength = 0;
  upload.cancelsInARow = 0;
  return SilenceVerdict::kReprompt;
}

}  // namespace zav::sim
