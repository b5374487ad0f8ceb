// Feeds arbitrary sender bytes to the simulator's XMODEM receiver, one byte time apart, with
// silences where the input asks for them, answering as the controller does. Checks: a block
// is taken only as the next one in sequence, from a sound packet that is exactly the last
// 132 bytes fed; a duplicate only for the block last taken; the image is the blocks taken,
// in order; an end only on EOT and a cancel only on a second CAN in a row; a give-up only
// after 60 s without input. The first 8 input bytes are a mask: bit (i % 64) set means a
// silence before byte i, of 1.5 s, or of 61 s when byte i is also below 8.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "sim/xmodem_receiver.h"

namespace {

using zav::sim::Micros;
using zav::sim::UploadVerdict;

constexpr std::size_t kMaskBytes = 8;
constexpr Micros kShortSilence = 1500 * zav::sim::kMillisecond;
constexpr Micros kLongSilence = 61 * zav::sim::kSecond;

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// The packet made of the last 132 bytes fed, judged as the receiver must.
bool SoundPacketFor(const std::uint8_t* packetEnd, std::size_t fedSincePrompt, unsigned block) {
  if (fedSincePrompt < zav::sim::kPacketSize) {
    return false;
  }
  const std::uint8_t* packet = packetEnd - zav::sim::kPacketSize;
  const unsigned sum = std::accumulate(packet + 3, packet + 3 + zav::sim::kBlockSize, 0U);
  return packet[0] == zav::sim::kSoh && packet[1] == (block & 0xFFU) &&
         packet[2] == (0xFFU - (block & 0xFFU)) && packet[131] == (sum & 0xFFU);
}

struct Expected {
  std::vector<std::uint8_t> image;
  std::size_t blocks = 0;
  std::size_t fedSincePrompt = 0;  // bytes fed since the last reprompt dropped a partial packet
};

void CheckVerdict(UploadVerdict verdict, zav::sim::UploadState& upload, Expected& expected,
                  const std::uint8_t* fedEnd, std::uint8_t byte, std::uint8_t before) {
  switch (verdict) {
    case UploadVerdict::kNewBlock:
      Require(SoundPacketFor(fedEnd, expected.fedSincePrompt, expected.blocks + 1));
      zav::sim::AcceptBlock(upload);
      expected.image.insert(expected.image.end(), fedEnd - 129, fedEnd - 1);
      ++expected.blocks;
      Require(upload.image == expected.image && upload.blocksStored == expected.blocks);
      break;
    case UploadVerdict::kDuplicateBlock:
      Require(expected.blocks > 0 &&
              SoundPacketFor(fedEnd, expected.fedSincePrompt, expected.blocks));
      break;
    case UploadVerdict::kEndOfTransmission:
      Require(byte == zav::sim::kEot);
      break;
    case UploadVerdict::kCancelled:
      Require(byte == zav::sim::kCan && before == zav::sim::kCan);
      break;
    case UploadVerdict::kImageFull:
      Require(expected.blocks == zav::sim::kMaxBlocks);
      break;
    case UploadVerdict::kBadPacket:
    case UploadVerdict::kNothing:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kMaskBytes) {
    return 0;
  }
  std::uint64_t silences = 0;
  for (std::size_t i = 0; i < kMaskBytes; ++i) {
    silences = silences << 8 | data[i];
  }
  const std::uint8_t* bytes = data + kMaskBytes;
  const std::size_t count = size - kMaskBytes;

  Micros at = 0;
  zav::sim::UploadState upload = zav::sim::StartUpload(at);
  Expected expected;
  for (std::size_t i = 0; i < count; ++i) {
    if ((silences >> (i % 64) & 1U) != 0) {
      const Micros silence = bytes[i] < 8 ? kLongSilence : kShortSilence;
      const Micros lastInput = upload.lastInputAt;
      at += silence;
      const auto heard = zav::sim::CheckUploadSilence(upload, at, at - silence);
      if (heard == zav::sim::SilenceVerdict::kGiveUp) {
        Require(at - lastInput >= zav::sim::kGiveUpSilence);
        return 0;  // the controller abandons the upload
      }
      Require(heard == zav::sim::SilenceVerdict::kReprompt);
      zav::sim::NoteAnswer(upload, at);
      expected.fedSincePrompt = 0;
    }
    at += zav::sim::kByteTime;
    ++expected.fedSincePrompt;
    const UploadVerdict verdict = zav::sim::TakeUploadByte(upload, bytes[i], at);
    CheckVerdict(verdict, upload, expected, bytes + i + 1, bytes[i], i > 0 ? bytes[i - 1] : 0);
    if (verdict != UploadVerdict::kNothing) {
      zav::sim::NoteAnswer(upload, at);
    }
    if (verdict == UploadVerdict::kEndOfTransmission || verdict == UploadVerdict::kCancelled ||
        verdict == UploadVerdict::kImageFull) {
      return 0;
    }
  }
  return 0;
}
