// Ports on Qt SerialPort: "COMn" leads to ZAVMON_COMn, /dev/ttyUSB<n-1> or /dev/ttyS<n-1>.
#include <optional>

#include "hosts/console/console_port.h"
#include "hosts/qt_core/port_names.h"
#include "hosts/qt_core/qt_serial_device.h"

namespace zav::console {

namespace {

// The lookups that know only the path, for "COM1".
PortLookups LookupsForPath(const std::string& path) {
  PortLookups lookups = SystemPortLookups();
  lookups.environment = [path](const std::string& variable) {
    return variable == "ZAVMON_COM1" ? path : std::string();
  };
  return lookups;
}

}  // namespace

std::unique_ptr<SerialDevice> PortDevice() {
  return std::make_unique<QtSerialDevice>();
}

PathDevice DeviceAtPath(const std::string& path) {
  return {.device = std::make_unique<QtSerialDevice>(LookupsForPath(path)), .openName = "COM1"};
}

std::string DescribedPort(const std::string& portName) {
  const std::optional<std::string> device = PortDevicePath(portName, SystemPortLookups());
  return device ? portName + " (" + *device + ")" : portName;
}

std::string OpenAdvice(DeviceFault fault) {
  switch (fault) {
    case DeviceFault::NotFound:
      return "check the name and that the adapter is plugged in";
    case DeviceFault::PermissionDenied:
      return "join the group that owns the device (sudo usermod -aG dialout $USER), then log in "
             "again";
    case DeviceFault::Busy:
      return "another program uses it";
    default:
      return "check the port and that no other program uses it";
  }
}

std::string PortNameHint(const std::string& portName) {
  return " (ZAVMON_" + portName + " may name its device)";
}

}  // namespace zav::console
