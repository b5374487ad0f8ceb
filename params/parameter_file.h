#pragma once
// The .car parameter file: 32 bytes, registers 80 to 95 as little-endian words. Loading
// takes registers 80 to 94 from bytes 0 to 29; bytes 30 and 31 carry register 95 (the
// hardware version) as it was when saved, and are never loaded back.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "params/parameter_set.h"

namespace zav {

inline constexpr std::size_t kParameterFileSize = 32;  // bytes as written

using ParameterFileBytes = std::array<std::uint8_t, kParameterFileSize>;

ParameterFileBytes EncodeParameterFile(const RegisterImage& image);

// What reading a chosen file gave: the values, or a message for the user saying which
// file and what is wrong with it.
struct LoadedParameters {
  std::optional<ParameterWords> words;
  std::string error;
};

// The first bytes of a file as read: 30 or more give the values, fewer are refused.
LoadedParameters ParametersFromFileStart(const std::filesystem::path& path,
                                         std::span<const std::uint8_t> bytes);

// Reads bytes 0 to 29 of the file. A file that cannot be read or is shorter than 30 bytes
// gives no values at all, so nothing is half-loaded.
LoadedParameters ReadParameterFile(const std::filesystem::path& path);

// Makes the 32 bytes the file's whole contents through ReplaceFileContents: an existing file
// is replaced whole or not at all, keeps its permissions, and a link keeps leading to it.
// Nothing on success, else a message for the user naming the file and the reason.
std::optional<std::string> WriteParameterFile(const std::filesystem::path& path,
                                              const ParameterFileBytes& bytes);

}  // namespace zav
