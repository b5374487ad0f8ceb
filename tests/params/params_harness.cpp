#include "tests/params/params_harness.h"

#include "link/poll_cycle.h"
#include "link/serial_port.h"
#include "params/config_name.h"
#include "params/parameter_file_commands.h"
#include "params/parameters_dialog.h"
#include "resources/main_template.h"
#include "resources/menu.h"

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

ParamsHarness::ParamsHarness() {
  ports.lines["COM1"] = &line;
  link.desktop = &desktop;
  link.device = &device;
  link.settingsFile = dir / "zavmon.cfg";
  WriteFile(link.settingsFile, "COM1");
  link.hooks.showConfigName = [this] {
    ShowConfigName(library, link.image, desktop, link.mainWindow);
  };
}

void ParamsHarness::RunUntil(Micros end) {
  desktop.At(end, [this] { desktop.RequestClose(kMainTemplateId); });
  desktop.RunDialog(MainTemplate(), WindowRef{},
                    [this](Desktop& desk, WindowRef window, const DialogEvent& event) {
                      return MainProc(desk, window, event);
                    });
}

void ParamsHarness::CommandAt(Micros time, int commandId) {
  desktop.At(time, [this, commandId] { desktop.Press(kMainTemplateId, commandId); });
}

std::string ParamsHarness::NameField() const {
  return desktop.Control(kMainTemplateId, kConfigNameField).text;
}

bool ParamsHarness::MainProc(Desktop& desk, WindowRef window, const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      link.mainWindow = window;
      if (!OpenSerialPort(link)) {
        desk.ShowMessage(window, kPortErrorText, kErrorCaption, MessageButtons::Ok,
                         MessageIcon::Error);
      }
      desk.SetTimer(window, kPollTimerId, kPollPeriodMs);
      LoadConfigLibrary(library, link.settingsFile);
      return true;
    case DialogMessage::Timer:
      PollTick(link);
      return true;
    case DialogMessage::Command:
      switch (event.id) {
        case kCommandOpen:
          OpenParameterFile(link);
          break;
        case kCommandSave:
          SaveParameterFile(link);
          break;
        case kCommandEdit:
          RunParametersDialog(link);
          break;
        case kCommandDefaultValues:
          ApplyDefaults(link.image);
          break;
        default:
          break;
      }
      return true;
    case DialogMessage::Close:
      ClosePort(link);
      desk.EndDialog(window, 0);
      desk.KillTimer(window, kPollTimerId);
      ReleaseConfigLibrary(library);
      return true;
    default:
      return false;
  }
}

}  // namespace zav::testing
