#include "upgrade/upload_packet.h"

#include <algorithm>
#include <numeric>

namespace zav {

std::uint8_t BlockChecksum(std::span<const std::uint8_t> data) {
  const unsigned sum = std::accumulate(data.begin(), data.end(), 0U);
  return static_cast<std::uint8_t>(sum & 0xFFU);
}

namespace {

// The image's bytes of block `block` (from 1): fewer than 128 near the end, none past it.
std::span<const std::uint8_t> BlockData(std::span<const std::uint8_t> image, std::uint8_t block) {
  const std::size_t offset = (block - std::size_t{1}) * kBlockBytes;
  if (block == 0 || offset >= image.size()) {
    return {};
  }
  return image.subspan(offset, std::min(kBlockBytes, image.size() - offset));
}

}  // namespace

UploadPacket BuildUploadPacket(std::span<const std::uint8_t> image, std::uint8_t block) {
  UploadPacket packet{};  // what the image does not supply stays 0x00
  packet[0] = kSoh;
  packet[1] = block;
  packet[2] = static_cast<std::uint8_t>(0xFF - block);
  const std::span<const std::uint8_t> data = BlockData(image, block);
  std::copy(data.begin(), data.end(), packet.begin() + kPacketDataOffset);
  packet[kPacketDataOffset + kBlockBytes] =
      BlockChecksum(std::span(packet).subspan(kPacketDataOffset, kBlockBytes));
  return packet;
}

}  // namespace zav
