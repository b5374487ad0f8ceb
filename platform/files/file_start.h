#pragma once
// Reading the first bytes of a small file (the settings file at start). The system's own
// calls, not a C++ stream: opening the first stream sets up the standard library's locale
// machinery, which stays resident for the rest of the run (0.25 MB in zavmon), to read a few
// bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace zav {

// Up to `count` bytes from the start of `path` (fewer when the file is shorter); nothing
// when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::filesystem::path& path,
                                                       std::size_t count);

}  // namespace zav
