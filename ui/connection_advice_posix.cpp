// The port mapping and the advice on a fault, as they are on Linux: COMn maps to a device
// node, and the node's group, its lock file and the program holding it explain a failure.
#include "ui/connection_advice.h"

#include "platform/port_name.h"

namespace zav {

namespace {

// "COM3" gives "2", the index of the adapter it falls back to; empty for other names.
std::string AdapterIndex(const std::string& portName) {
  const std::optional<int> number = ComPortNumber(portName);
  return number ? std::to_string(*number - 1) : std::string();
}

}  // namespace

std::string PortMappingText(const Connection& connection, const SerialSurvey& survey) {
  const std::string& port = connection.portName;
  const std::string index = AdapterIndex(port);
  std::string text =
      "How a port is found: COMn is the device named in the environment variable ZAVMON_COMn "
      "when that is set, else /dev/ttyUSB<n-1> (a USB adapter) when it exists, else "
      "/dev/ttyS<n-1> (a built-in port).\n";
  if (index.empty()) {
    return text + "No port is chosen: pick one in the COM port list.\n";
  }
  const std::string variable = "ZAVMON_" + port;
  const std::string usb = "/dev/ttyUSB" + index;
  if (const std::string value = survey.Environment(variable); !value.empty()) {
    text += "Now: " + variable + " is set, so " + port + " is " + value + ".\n";
  } else if (survey.Exists(usb)) {
    text += "Now: " + variable + " is not set and the USB adapter " + usb + " exists, so " + port +
            " is " + usb + ".\n";
  } else {
    text += "Now: " + variable + " is not set and " + usb + " does not exist, so " + port +
            " is /dev/ttyS" + index + ".\n";
  }
  return text + "To use another device, set it before starting the program, for example:\n" +
         "  export " + variable + "=/dev/serial/by-id/<the adapter's link below>\n";
}

namespace {

std::string DevicePathOf(const Connection& connection) {
  return connection.devicePath.empty() ? connection.portName : connection.devicePath;
}

std::string BusyText(const std::string& device, const SerialSurvey& survey) {
  const std::optional<DeviceLock> lock = survey.LockOf(device);
  if (lock && lock->stale) {
    return "The lock file " + lock->file + " was left behind by a program that is gone" +
           (lock->pid ? " (PID " + std::to_string(*lock->pid) + ")" : std::string()) +
           "; it is stale and keeps every open of " + device + " from succeeding. Remove it:\n" +
           "  sudo rm " + lock->file +
           "\nThe program tries the port about once a second and takes it as soon as it is "
           "free.\n";
  }
  std::string holder = "Another program holds " + device;
  if (lock && lock->pid) {
    holder += ": PID " + std::to_string(*lock->pid);
    if (!lock->program.empty()) {
      holder += " (" + lock->program + ")";
    }
    holder += ", by its lock file " + lock->file;
  }
  return holder + ". Close that program (to see who holds the device: fuser -v " + device +
         "): the program tries the port about once a second and takes it as soon as it is "
         "free.\n";
}

}  // namespace

std::string FaultAdvice(const Connection& connection, const SerialSurvey& survey) {
  const std::string device = DevicePathOf(connection);
  switch (connection.fault) {
    case DeviceFault::PermissionDenied: {
      const std::string group = survey.GroupOf(device);
      const std::string shown = group.empty() ? "dialout" : group;
      return "Permission denied: " + device + " belongs to the group \"" + shown +
             "\" and your user is not in it. Add it:\n  sudo usermod -aG " + shown +
             " $USER\nthen log out and in again.\n";
    }
    case DeviceFault::Busy:
      return BusyText(device, survey);
    case DeviceFault::NotFound:
      return device +
             " does not exist. The adapter may be unplugged: plug it in, or pick the "
             "right one from the list below.\n";
    case DeviceFault::Removed:
    case DeviceFault::Other:
    case DeviceFault::None:
      break;
  }
  return AdviceAlikeOnEverySystem(connection);
}

}  // namespace zav
