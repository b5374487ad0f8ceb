#pragma once
// Where the device for a stored port name ("COM1".."COM9") is found on this system.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zav {

// What the mapping asks of the system. Injected, so the mapping can be checked without
// touching the real environment or the real /dev.
struct PortLookups {
  // The value of an environment variable; empty when it is unset.
  std::function<std::string(const std::string& variable)> environment;
  // True when something exists at the path (a device node, or a link to one).
  std::function<bool(const std::string& path)> exists;
};

// The process environment and the file system.
PortLookups SystemPortLookups();

// The device to open for a stored port name such as "COM3", or nothing when the name cannot
// name a device here.
//
// On Windows the name is the device itself, whatever it is. Elsewhere only "COM1".."COM9"
// name a device: "COMn" is the path in ZAVMON_COMn when that is set (a relative path is
// taken from the working directory), else /dev/ttyUSB<n-1> when it exists, else
// /dev/ttyS<n-1>. Other names ("COM0", "COMA", "COM10") give nothing.
std::optional<std::string> PortDevicePath(std::string_view portName, const PortLookups& lookups);

}  // namespace zav
