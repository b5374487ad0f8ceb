#pragma once
// The shape of a controller firmware image: always 240 blocks of 128 bytes, whatever the size
// of the file it comes from.

#include <cstddef>
#include <cstdint>

namespace zav {

inline constexpr std::size_t kBlockBytes = 128;  // data bytes of one block
inline constexpr std::uint8_t kFirmwareBlocks = 240;
inline constexpr std::size_t kFirmwareImageBytes = kFirmwareBlocks * kBlockBytes;  // 30,720

}  // namespace zav
