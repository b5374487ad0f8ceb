#pragma once
// Fuzz input handed over as a file on disk, the way the program meets it: one file per
// process in the temporary folder, rewritten for every input and removed at exit.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace zav::fuzz {

// A fresh name in the temporary folder.
inline std::filesystem::path NewFuzzFilePath(const std::string& suffix) {
  std::random_device seed;
  return std::filesystem::temp_directory_path() /
         ("zav-fuzz-" + std::to_string(seed()) + std::to_string(seed()) + suffix);
}

// The old file is removed first: truncating a file that holds data makes some file systems
// flush it to disk on close, which slows each input down to milliseconds.
inline void WriteFuzzFile(const std::filesystem::path& path, const std::uint8_t* data,
                          std::size_t size) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Removes the file when the process ends.
struct FuzzFileCleanup {
  std::filesystem::path path;
  ~FuzzFileCleanup() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

}  // namespace zav::fuzz
