#include "params/config_name.h"

namespace zav {

namespace {

// Record names are single-byte text written by other tools (Latin-1 as the common 8-bit
// code page); the desktop takes UTF-8.
std::string SingleByteToUtf8(const std::string& name) {
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | byte >> 6);
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

}  // namespace

std::optional<std::string> ConfigNameFor(const ConfigLibrary& library,
                                         const ParameterWords& words) {
  if (library.recordCount == 0) {
    return std::nullopt;
  }
  if (words == kDefaultParameters) {
    return kDefaultValuesName;
  }
  // Every record is visited: with several matches the last one in file order wins.
  std::string name;
  for (std::size_t index = 0; index < UsableRecords(library); ++index) {
    if (RecordWords(library, index) == words) {
      name = RecordName(library, index);
    }
  }
  return name;
}

void ShowConfigName(const ConfigLibrary& library, const RegisterImage& image, Desktop& desktop,
                    WindowRef mainWindow) {
  const std::optional<std::string> name = ConfigNameFor(library, ParametersOf(image));
  if (name) {
    desktop.SetText(mainWindow, kConfigNameField, SingleByteToUtf8(*name));
  }
}

}  // namespace zav
