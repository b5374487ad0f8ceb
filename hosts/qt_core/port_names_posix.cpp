// On Linux and other POSIX systems "COMn" has no meaning of its own: the fitter points it
// at a device through the environment, or it falls back to the n-th USB adapter or the
// n-th built-in port.
#include <optional>
#include <string>
#include <utility>

#include "hosts/qt_core/port_names.h"
#include "platform/port_name.h"

namespace zav {
namespace {

// The serial layer would take a bare relative name as a name under /dev; "./" keeps it
// relative to the working directory, as a path in the environment is meant.
std::string AsPath(const std::string& path) {
  const std::string_view view = path;
  if (view.starts_with('/') || view.starts_with("./") || view.starts_with("../")) {
    return path;
  }
  return "./" + path;
}

}  // namespace

std::optional<std::string> PortDevicePath(std::string_view portName, const PortLookups& lookups) {
  const std::optional<int> number = ComPortNumber(portName);
  if (!number) {
    return std::nullopt;
  }
  const std::string configured = lookups.environment("ZAVMON_" + std::string(portName));
  if (!configured.empty()) {
    return AsPath(configured);
  }
  // COM1 is the first adapter: ttyUSB0, ttyS0.
  const std::string index = std::to_string(*number - 1);
  std::string usbAdapter = "/dev/ttyUSB" + index;
  if (lookups.exists(usbAdapter)) {
    return usbAdapter;
  }
  return "/dev/ttyS" + index;
}

}  // namespace zav
