#include "tests/params/params_harness.h"

#include "params/config_name.h"
#include "resources/main_template.h"

namespace zav::testing {

std::string WordBytes(const ParameterWords& words) {
  std::string bytes;
  for (const std::uint16_t word : words) {
    bytes += static_cast<char>(word & 0xFF);
    bytes += static_cast<char>(word >> 8);
  }
  return bytes;
}

std::string LibraryRecord(std::string_view name, const ParameterWords& words) {
  std::string record(name.substr(0, kRecordNameBytes));
  record.resize(kRecordNameBytes, '\0');
  record += WordBytes(words);
  record += "\x7F\x7F";  // never read
  return record;
}

std::string SettingsWith(const std::vector<std::string>& records) {
  std::string settings = "COM1";
  for (const std::string& record : records) {
    settings += record;
  }
  return settings;
}

void ParamsHarness::CommandAt(Micros time, int commandId) {
  desktop.At(time, [this, commandId] { desktop.Press(kMainTemplateId, commandId); });
}

std::string ParamsHarness::NameField() const {
  return desktop.Control(kMainTemplateId, kConfigNameField).text;
}

}  // namespace zav::testing
