// Ports on the Windows API: the name is the device ("COM3" opens \\.\COM3).
#include "hosts/console/console_port.h"
#include "hosts/win32_core/win32_serial_device.h"

namespace zav::console {

std::unique_ptr<SerialDevice> PortDevice() {
  return std::make_unique<Win32SerialDevice>();
}

// "COM12" or "\\.\COM12": the device opens any name the system knows.
PathDevice DeviceAtPath(const std::string& path) {
  return {.device = std::make_unique<Win32SerialDevice>(), .openName = path};
}

std::string DescribedPort(const std::string& portName) {
  return portName;
}

std::string OpenAdvice(DeviceFault fault) {
  switch (fault) {
    case DeviceFault::NotFound:
      return "check the COM number in Device Manager (Ports (COM & LPT)) and that the adapter "
             "is plugged in";
    case DeviceFault::PermissionDenied:
    case DeviceFault::Busy:
      return "another program uses it (ZAV Monitor, a terminal program); close it";
    default:
      return "check the port in Device Manager and that no other program uses it";
  }
}

std::string PortNameHint(const std::string& /*portName*/) {
  return {};
}

}  // namespace zav::console
