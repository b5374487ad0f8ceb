#include "cli/controller_session.h"

#include <optional>

#include "cli/exit_codes.h"
#include "hosts/console/console_port.h"
#include "link/poll_cycle.h"
#include "link/serial_port.h"
#include "params/config_library.h"
#include "platform/files/path_text.h"
#include "platform/port_name.h"
#include "ui/connection_status.h"

namespace zav::cli {

namespace {

constexpr int kStartTimerId = 2;
constexpr int kWaitTimerId = 1;
constexpr int kWaitCheckMs = 20;
constexpr int kWaitBar = 1;

constexpr DialogTemplate kSessionTemplate{.id = 4001, .title = "zavctl"};
constexpr DialogTemplate kWaitTemplate{.id = 4002, .title = "zavctl wait"};

// The stored port name of zavmon.cfg, or nothing when the file holds none.
std::optional<std::string> StoredPortName(const std::filesystem::path& settings) {
  const CFile file = OpenCFile(settings, "rb");
  if (!file) {
    return std::nullopt;
  }
  std::string name(kPortNameBytes, '\0');
  const std::size_t count = std::fread(name.data(), 1, name.size(), file.get());
  return count == kPortNameBytes ? std::optional(name) : std::nullopt;
}

// The link's record of the line starts as when the window opens its port, so that a device
// that goes away is reopened as the window does.
void NoteOpened(Link& link, const std::string& portName) {
  link.portNumber = static_cast<std::uint8_t>(portName[3] - '0');
  NoteOpenResult(link, portName, true);
}

// Why the device did not open, in the words of the window's status line, and what to do.
std::string OpenFailure(const SerialDevice& device) {
  Connection connection;
  connection.fault = device.Fault();
  connection.faultText = device.FaultText();
  return FaultReason(connection) + "; " + console::OpenAdvice(device.Fault());
}

// Opens the port and says which one it was; an empty text when it could not be opened,
// after the reason was printed.
std::string OpenPort(CliContext& cli, Program& program, std::unique_ptr<SerialDevice>& device) {
  if (cli.global.port && !ComPortNumber(*cli.global.port)) {
    console::PathDevice atPath = console::DeviceAtPath(*cli.global.port);
    device = std::move(atPath.device);
    program.link.device = device.get();
    if (!device->Open(atPath.openName)) {
      Complain(cli,
               "cannot open the serial device " + *cli.global.port + ": " + OpenFailure(*device));
      return {};
    }
    NoteOpened(program.link, "COM1");
    program.link.connection.portName = *cli.global.port;
    return *cli.global.port;
  }
  device = console::PortDevice();
  program.link.device = device.get();
  if (cli.global.port) {
    if (!device->Open(*cli.global.port)) {
      Complain(cli, "cannot open port " + console::DescribedPort(*cli.global.port) + ": " +
                        OpenFailure(*device) + console::PortNameHint(*cli.global.port));
      return {};
    }
    NoteOpened(program.link, *cli.global.port);
    return console::DescribedPort(*cli.global.port);
  }
  const std::optional<std::string> stored = StoredPortName(program.link.settingsFile);
  if (!stored) {
    Complain(cli, "no port: " + Utf8FromPath(program.link.settingsFile) +
                      " holds no port name; give --port COMn or --port DEVICE");
    return {};
  }
  if (!OpenSerialPort(program.link)) {
    Complain(cli, "cannot open port " + console::DescribedPort(*stored) + " named in " +
                      Utf8FromPath(program.link.settingsFile) + ": " + OpenFailure(*device) +
                      "; or give --port");
    return {};
  }
  return console::DescribedPort(*stored);
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
  std::unique_ptr<SerialDevice> device;
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
