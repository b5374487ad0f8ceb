#include "cli/controller_session.h"

#include <optional>

#include "cli/exit_codes.h"
#include "hosts/qt_core/qt_serial_device.h"
#include "link/poll_cycle.h"
#include "link/serial_port.h"
#include "params/config_library.h"
#include "platform/port_name.h"

namespace zav::cli {

namespace {

constexpr int kStartTimerId = 2;
constexpr int kWaitTimerId = 1;
constexpr int kWaitCheckMs = 20;
constexpr int kWaitBar = 1;

constexpr DialogTemplate kSessionTemplate{.id = 4001, .title = "zavctl"};
constexpr DialogTemplate kWaitTemplate{.id = 4002, .title = "zavctl wait"};

// A device path given on the command line stands for "COM1" through lookups that know only
// it, so that it is opened by the same device code as every stored port name.
PortLookups LookupsForPath(const std::string& path) {
  PortLookups lookups = SystemPortLookups();
  lookups.environment = [path](const std::string& variable) {
    return variable == "ZAVMON_COM1" ? path : std::string();
  };
  return lookups;
}

std::string Described(const std::string& name, const PortLookups& lookups) {
  const std::optional<std::string> device = PortDevicePath(name, lookups);
  return device ? name + " (" + *device + ")" : name;
}

// The stored port name of zavmon.cfg, or nothing when the file holds none.
std::optional<std::string> StoredPortName(const std::filesystem::path& settings) {
  std::FILE* file = std::fopen(settings.string().c_str(), "rb");
  if (file == nullptr) {
    return std::nullopt;
  }
  std::string name(kPortNameBytes, '\0');
  const std::size_t count = std::fread(name.data(), 1, name.size(), file);
  std::fclose(file);
  return count == kPortNameBytes ? std::optional(name) : std::nullopt;
}

// Opens the port and says which one it was; an empty text when it could not be opened,
// after the reason was printed.
std::string OpenPort(CliContext& cli, Program& program, std::unique_ptr<QtSerialDevice>& device) {
  if (cli.global.port && !ComPortNumber(*cli.global.port)) {
    device = std::make_unique<QtSerialDevice>(LookupsForPath(*cli.global.port));
    program.link.device = device.get();
    if (!device->Open("COM1")) {
      Complain(cli, "cannot open the serial device " + *cli.global.port +
                        ": check the path and that no other program uses it");
      return {};
    }
    return *cli.global.port;
  }
  device = std::make_unique<QtSerialDevice>();
  program.link.device = device.get();
  if (cli.global.port) {
    if (!device->Open(*cli.global.port)) {
      Complain(cli, "cannot open port " + Described(*cli.global.port, SystemPortLookups()) +
                        ": check the port (ZAVMON_" + *cli.global.port +
                        " may name its device) and that no other program uses it");
      return {};
    }
    return Described(*cli.global.port, SystemPortLookups());
  }
  const std::optional<std::string> stored = StoredPortName(program.link.settingsFile);
  if (!stored) {
    Complain(cli, "no port: " + program.link.settingsFile.string() +
                      " holds no port name; give --port COMn or --port DEVICE");
    return {};
  }
  if (!OpenSerialPort(program.link)) {
    Complain(cli, "cannot open port " + Described(*stored, SystemPortLookups()) + " named in " +
                      program.link.settingsFile.string() + ": check the setting, or give --port");
    return {};
  }
  return Described(*stored, SystemPortLookups());
}

int RunSession(Program& program, const std::function<int(Program&)>& job) {
  int result = kExitDone;
  Link& link = program.link;
  link.desktop->RunDialog(kSessionTemplate, WindowRef{},
                          [&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
                            switch (event.message) {
                              case DialogMessage::Init:
                                link.mainWindow = window;
                                desktop.SetTimer(window, kPollTimerId, kPollPeriodMs);
                                desktop.SetTimer(window, kStartTimerId, 0);
                                return true;
                              case DialogMessage::Timer:
                                if (event.id == kPollTimerId) {
                                  PollTick(link);
                                } else if (event.id == kStartTimerId) {
                                  desktop.KillTimer(window, kStartTimerId);
                                  result = job(program);
                                  desktop.EndDialog(window, 0);
                                }
                                return true;
                              case DialogMessage::Close:
                                desktop.EndDialog(window, 0);
                                return true;
                              default:
                                return false;
                            }
                          });
  return result;
}

}  // namespace

int WithController(CliContext& cli, const std::function<int(Program&)>& job) {
  Program program;
  program.link.desktop = &cli.desktop;
  program.link.settingsFile = cli.workingFolder / "zavmon.cfg";
  std::unique_ptr<QtSerialDevice> device;
  const std::string port = OpenPort(cli, program, device);
  if (port.empty()) {
    return kExitPortOrFile;
  }
  cli.desktop.SetNoProgressLimit(cli.global.timeoutS * 1000);
  const int result = RunSession(program, job);
  ClosePort(program.link);
  switch (cli.desktop.Stop()) {
    case ConsoleStop::TimedOut:
      Complain(cli, "no answer from the controller on " + port + " within " +
                        std::to_string(cli.global.timeoutS) +
                        " s: check the cable, the port and that the controller is powered");
      return kExitNoAnswer;
    case ConsoleStop::Interrupted:
      Complain(cli, "cancelled");
      return kExitCancelled;
    case ConsoleStop::None:
      break;
  }
  return result;
}

bool WaitUntil(Program& program, const std::function<bool()>& done,
               const std::function<int()>& progress) {
  if (done()) {
    return true;
  }
  const int result = program.link.desktop->RunDialog(
      kWaitTemplate, program.link.mainWindow,
      [&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
        switch (event.message) {
          case DialogMessage::Init:
            desktop.SetTimer(window, kWaitTimerId, kWaitCheckMs);
            return true;
          case DialogMessage::Timer:
            if (done()) {
              desktop.EndDialog(window, 1);
            } else if (progress) {
              desktop.SetBarPosition(window, kWaitBar, progress());
            }
            return true;
          case DialogMessage::Close:
            desktop.EndDialog(window, 0);
            return true;
          default:
            return false;
        }
      });
  return result == 1;
}

}  // namespace zav::cli
