#pragma once
// The library of named configurations stored in the settings file behind the 4-byte port
// name: records of 96 bytes, a name of up to 64 bytes ending at its first NUL, then the
// fifteen parameter words (registers 80 to 94, little-endian), then 2 bytes never read.
// The program only reads it, once at start-up, and keeps it until the main window closes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "params/parameter_set.h"

namespace zav {

inline constexpr std::size_t kPortNameBytes = 4;
inline constexpr std::size_t kRecordBytes = 96;
inline constexpr std::size_t kRecordNameBytes = 64;
inline constexpr std::size_t kRecordWordsOffset = 64;
inline constexpr std::size_t kSmallestLibraryFile = kPortNameBytes + kRecordBytes;  // 100 bytes
inline constexpr std::size_t kLargestLibraryFile = 49156;  // bytes: 512 records

struct ConfigLibrary {
  std::vector<std::uint8_t> records;  // the settings file from byte 4 on, 96 bytes a record
  std::uint16_t recordCount = 0;      // 0: no library loaded
};

// The library held in the bytes of a whole settings file; empty when the file is smaller
// than 100 or larger than 49156 bytes. Trailing bytes short of a record are no record.
ConfigLibrary LibraryFromSettingsBytes(std::span<const std::uint8_t> file);

// Reads the settings file. A missing or unreadable file, or one of a size outside the
// limits, leaves the library empty; nothing is reported. Bytes a short read leaves out
// stay zero.
void LoadConfigLibrary(ConfigLibrary& library, const std::filesystem::path& settingsFile);

void ReleaseConfigLibrary(ConfigLibrary& library);

// Record `index` (below the record count): its name, cut at the first NUL within the
// 64-byte field, and its parameter words.
std::string RecordName(const ConfigLibrary& library, std::size_t index);
ParameterWords RecordWords(const ConfigLibrary& library, std::size_t index);

// Records that the library's buffer really holds; never more than the count says.
std::size_t UsableRecords(const ConfigLibrary& library);

}  // namespace zav
