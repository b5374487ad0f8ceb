#pragma once
// One block of the firmware image as it goes on the line: SOH, the block number, its ones'
// complement, the 128 data bytes and the 8-bit sum of the data.

#include <array>
#include <cstdint>
#include <span>

#include "upgrade/firmware_layout.h"

namespace zav {

inline constexpr std::uint8_t kSoh = 0x01;
inline constexpr std::size_t kPacketBytes = 3 + kBlockBytes + 1;  // 132
inline constexpr std::size_t kPacketDataOffset = 3;               // bytes before the data

using UploadPacket = std::array<std::uint8_t, kPacketBytes>;

// The sum of the bytes modulo 256.
std::uint8_t BlockChecksum(std::span<const std::uint8_t> data);

// The packet of block `block` (1 to 240): the image's bytes from (block - 1) x 128. Bytes
// beyond the end of the image go out as 0x00.
UploadPacket BuildUploadPacket(std::span<const std::uint8_t> image, std::uint8_t block);

}  // namespace zav
