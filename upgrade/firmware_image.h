#pragma once
// Reading a firmware file: its first 30,720 bytes are the image. The file is read whole when
// it is chosen, so that a file that cannot be read is reported then, and never goes out as
// blocks of zeros.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zav {

struct FirmwareImage {
  std::vector<std::uint8_t> bytes;  // at most 30,720
  std::uintmax_t fileBytes = 0;     // the whole file's size; only its image is sent
  std::string problem;              // why the file cannot be used; empty when it can
};

// The image, or the problem: the file does not exist, is a folder or not a plain file,
// cannot be opened or read, or is empty.
FirmwareImage ReadFirmwareImage(const std::filesystem::path& path);

}  // namespace zav
