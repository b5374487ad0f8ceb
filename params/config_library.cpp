#include "params/config_library.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/files/file_start.h"

namespace zav {

namespace {

std::span<const std::uint8_t> RecordBytes(const ConfigLibrary& library, std::size_t index) {
  return std::span(library.records).subspan(index * kRecordBytes, kRecordBytes);
}

}  // namespace

ConfigLibrary LibraryFromSettingsBytes(std::span<const std::uint8_t> file) {
  if (file.size() < kSmallestLibraryFile || file.size() > kLargestLibraryFile) {
    return {};
  }
  const std::span<const std::uint8_t> records = file.subspan(kPortNameBytes);
  return {std::vector<std::uint8_t>(records.begin(), records.end()),
          static_cast<std::uint16_t>(records.size() / kRecordBytes)};
}

void LoadConfigLibrary(ConfigLibrary& library, const std::filesystem::path& settingsFile) {
  ReleaseConfigLibrary(library);
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(settingsFile, error);
  if (error || size < kSmallestLibraryFile || size > kLargestLibraryFile) {
    return;
  }
  std::optional<std::vector<std::uint8_t>> content =
      ReadFileStart(settingsFile, static_cast<std::size_t>(size));
  if (!content) {
    return;
  }
  content->resize(static_cast<std::size_t>(size), 0);  // a file cut meanwhile reads as zeros
  library = LibraryFromSettingsBytes(*content);
}

void ReleaseConfigLibrary(ConfigLibrary& library) {
  library = ConfigLibrary{};
}

std::size_t UsableRecords(const ConfigLibrary& library) {
  return std::min<std::size_t>(library.recordCount, library.records.size() / kRecordBytes);
}

std::string RecordName(const ConfigLibrary& library, std::size_t index) {
  const auto name = RecordBytes(library, index).first(kRecordNameBytes);
  const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
  return std::string(name.begin(), end);
}

ParameterWords RecordWords(const ConfigLibrary& library, std::size_t index) {
  return DecodeParameterWords(
      RecordBytes(library, index).subspan<kRecordWordsOffset, kParameterBytes>());
}

}  // namespace zav
