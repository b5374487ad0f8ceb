// On Windows the stored name is the device name itself: the system resolves "COM3".
#include "hosts/qt_core/port_names.h"

namespace zav {

std::optional<std::string> PortDevicePath(std::string_view portName,
                                          const PortLookups& /*lookups*/) {
  return std::string(portName);
}

}  // namespace zav
