// Feeds arbitrary bytes as a chosen .car file. A file of 30 bytes or more must give exactly
// the little-endian words of its first 30 bytes; a shorter one no values at all and a
// message that names the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_file.h"
#include "params/parameter_file.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const zav::fuzz::FuzzFileCleanup cleanup{zav::fuzz::NewFuzzFilePath(".car")};
  const std::filesystem::path& path = cleanup.path;
  zav::fuzz::WriteFuzzFile(path, data, size);
  const zav::LoadedParameters loaded = zav::ReadParameterFile(path);
  if (size < zav::kParameterBytes) {
    Require(!loaded.words.has_value());
    Require(loaded.error.find(path.string()) != std::string::npos);
    return 0;
  }
  Require(loaded.words.has_value());
  for (std::size_t i = 0; i < loaded.words->size(); ++i) {
    Require((*loaded.words)[i] == (data[2 * i] | data[2 * i + 1] << 8));
  }
  return 0;
}
