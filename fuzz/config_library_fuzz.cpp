// Feeds arbitrary bytes as the settings file to the library loader, then looks up every
// record's values. The library must hold the file from byte 4 on with one record per whole
// 96 bytes when the size is within 100 to 49156 bytes, and nothing otherwise; every lookup
// must name a record (or the defaults) with a name of at most 64 bytes and no NUL.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_file.h"
#include "params/config_library.h"
#include "params/config_name.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

void CheckLibrary(const zav::ConfigLibrary& library, const std::uint8_t* data, std::size_t size) {
  const bool accepted = size >= zav::kSmallestLibraryFile && size <= zav::kLargestLibraryFile;
  if (!accepted) {
    Require(library.recordCount == 0);
    return;
  }
  Require(library.recordCount == (size - zav::kPortNameBytes) / zav::kRecordBytes);
  Require(library.records.size() == size - zav::kPortNameBytes);
  Require(std::equal(library.records.begin(), library.records.end(), data + 4));
}

// The name the lookup must give for the values of record `index`: the defaults' name, or
// that of the last record holding the same values (at `index` or after it).
std::string ExpectedName(const zav::ConfigLibrary& library, std::size_t index) {
  const zav::ParameterWords words = zav::RecordWords(library, index);
  if (words == zav::kDefaultParameters) {
    return zav::kDefaultValuesName;
  }
  std::size_t last = index;
  for (std::size_t later = index + 1; later < library.recordCount; ++later) {
    if (zav::RecordWords(library, later) == words) {
      last = later;
    }
  }
  return zav::RecordName(library, last);
}

void CheckLookups(const zav::ConfigLibrary& library) {
  for (std::size_t index = 0; index < library.recordCount; ++index) {
    const auto name = zav::ConfigNameFor(library, zav::RecordWords(library, index));
    Require(name.has_value());
    Require(*name == ExpectedName(library, index));
    Require(name->size() <= zav::kRecordNameBytes);
    Require(name->find('\0') == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const zav::fuzz::FuzzFileCleanup cleanup{zav::fuzz::NewFuzzFilePath(".cfg")};
  const std::filesystem::path& path = cleanup.path;
  zav::fuzz::WriteFuzzFile(path, data, size);
  zav::ConfigLibrary library;
  zav::LoadConfigLibrary(library, path);
  CheckLibrary(library, data, size);
  CheckLookups(library);
  zav::ReleaseConfigLibrary(library);
  Require(library.recordCount == 0);
  return 0;
}
