#include "params/config_name.h"

#include "platform/latin1_text.h"

namespace zav {

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
    desktop.SetText(mainWindow, kConfigNameField, Latin1ToUtf8(*name));
  }
}

}  // namespace zav
