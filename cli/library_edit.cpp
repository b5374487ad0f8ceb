#include "cli/library_edit.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "link/wire.h"
#include "params/config_library.h"
#include "platform/files/path_text.h"
#include "platform/latin1_text.h"

namespace zav::cli {

namespace {

std::size_t RecordOffset(std::size_t index) {
  return kPortNameBytes + index * kRecordBytes;
}

std::string Quoted(const std::string& name) {
  return "\"" + Latin1ToUtf8(name) + "\"";
}

}  // namespace

SettingsBytes ReadSettingsForEdit(const std::filesystem::path& settings) {
  const std::string where = Utf8FromPath(settings);
  std::error_code error;
  if (!std::filesystem::is_regular_file(settings, error)) {
    return {{},
            where +
                " is missing or not a plain file: start zavmon once and choose a port "
                "there, or copy a zavmon.cfg into this folder"};
  }
  const CFile file = OpenCFile(settings, "rb");
  if (!file) {
    return {{}, "cannot read " + where};
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[4096];
  std::size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
  if (std::ferror(file.get())) {
    return {{}, "cannot read " + where};
  }
  if (bytes.size() < kPortNameBytes) {
    return {{},
            where + " is " + std::to_string(bytes.size()) +
                " bytes long, too short for its port name; it was left as it is"};
  }
  if (const std::size_t rest = (bytes.size() - kPortNameBytes) % kRecordBytes; rest != 0) {
    return {{},
            where + " ends in a partial record (" + std::to_string(rest) +
                " bytes after the last whole one); it was left as it is"};
  }
  return {std::move(bytes), {}};
}

std::size_t RecordCount(const std::vector<std::uint8_t>& settings) {
  return settings.size() < kPortNameBytes ? 0 : (settings.size() - kPortNameBytes) / kRecordBytes;
}

std::string NameAt(const std::vector<std::uint8_t>& settings, std::size_t index) {
  const auto start = settings.begin() + static_cast<std::ptrdiff_t>(RecordOffset(index));
  const auto fieldEnd = start + static_cast<std::ptrdiff_t>(kRecordNameBytes);
  return std::string(start, std::find(start, fieldEnd, std::uint8_t{0}));
}

ParameterWords WordsAt(const std::vector<std::uint8_t>& settings, std::size_t index) {
  const std::size_t offset = RecordOffset(index) + kRecordWordsOffset;
  return DecodeParameterWords(
      std::span<const std::uint8_t>(settings).subspan(offset).first<kParameterBytes>());
}

std::optional<std::size_t> FindRecord(const std::vector<std::uint8_t>& settings,
                                      const std::string& name) {
  for (std::size_t index = 0; index < RecordCount(settings); ++index) {
    if (NameAt(settings, index) == name) {
      return index;
    }
  }
  return std::nullopt;
}

std::optional<std::string> NameProblem(const std::string& name) {
  if (name.empty() || name.size() > kLongestRecordName) {
    return "a configuration name must have 1 to 63 bytes; " + Quoted(name) + " has " +
           std::to_string(name.size());
  }
  if (name.find('\0') != std::string::npos) {
    return "a configuration name cannot hold a NUL byte";
  }
  return std::nullopt;
}

std::optional<std::string> AddRecord(std::vector<std::uint8_t>& settings, const std::string& name,
                                     const ParameterWords& words) {
  if (std::optional<std::string> problem = NameProblem(name)) {
    return problem;
  }
  if (FindRecord(settings, name)) {
    return "the library already holds a configuration named " + Quoted(name) +
           "; remove it first or choose another name";
  }
  if (settings.size() + kRecordBytes > kLargestLibraryFile) {
    return "the library is full (" + std::to_string(RecordCount(settings)) +
           " configurations, the most zavmon reads); remove one first";
  }
  std::vector<std::uint8_t> record(kRecordBytes, 0);
  std::copy(name.begin(), name.end(), record.begin());
  for (std::size_t i = 0; i < words.size(); ++i) {
    record[kRecordWordsOffset + 2 * i] = LowByte(words[i]);
    record[kRecordWordsOffset + 2 * i + 1] = HighByte(words[i]);
  }
  settings.insert(settings.end(), record.begin(), record.end());
  return std::nullopt;
}

std::optional<std::string> RemoveRecord(std::vector<std::uint8_t>& settings,
                                        const std::string& name) {
  const std::optional<std::size_t> index = FindRecord(settings, name);
  if (!index) {
    return "the library holds no configuration named " + Quoted(name);
  }
  const auto start = settings.begin() + static_cast<std::ptrdiff_t>(RecordOffset(*index));
  settings.erase(start, start + static_cast<std::ptrdiff_t>(kRecordBytes));
  return std::nullopt;
}

}  // namespace zav::cli
