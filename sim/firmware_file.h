#pragma once
// Keeps a received firmware image in a file.

#include <cstdint>
#include <span>
#include <string>

namespace zav::sim {

// Writes `bytes` as the whole of `path`: into a temporary file beside it, then renamed over
// it, so that a reader never sees half an image.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error);

}  // namespace zav::sim
