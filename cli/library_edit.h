#pragma once
// Edits of the configuration library in the settings file, done on the file's bytes: the
// 4-byte port name and every record not named stay byte for byte as they were. The window
// reads the result with its own loader.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "params/parameter_set.h"

namespace zav::cli {

inline constexpr std::size_t kLongestRecordName = 63;  // bytes; the 64th is the NUL

struct SettingsBytes {
  std::vector<std::uint8_t> bytes;  // the whole file
  std::string problem;              // why it cannot be edited; empty when it can
};

// The settings file for editing. Refused: a missing or unreadable file, one shorter than
// its port name, and one that ends in a partial record (it is not ours to guess about).
SettingsBytes ReadSettingsForEdit(const std::filesystem::path& settings);

std::size_t RecordCount(const std::vector<std::uint8_t>& settings);
std::string NameAt(const std::vector<std::uint8_t>& settings, std::size_t index);
ParameterWords WordsAt(const std::vector<std::uint8_t>& settings, std::size_t index);
// The first record of that name.
std::optional<std::size_t> FindRecord(const std::vector<std::uint8_t>& settings,
                                      const std::string& name);

// Why `name` cannot name a record (empty, over 63 bytes, a NUL byte); nothing when it can.
std::optional<std::string> NameProblem(const std::string& name);

// Appends a record; a problem when the name is empty, longer than 63 bytes or taken, or the
// library is full (the window reads at most 49156 bytes, 512 records).
std::optional<std::string> AddRecord(std::vector<std::uint8_t>& settings, const std::string& name,
                                     const ParameterWords& words);
// Removes the record of that name; a problem when there is none.
std::optional<std::string> RemoveRecord(std::vector<std::uint8_t>& settings,
                                        const std::string& name);

}  // namespace zav::cli
