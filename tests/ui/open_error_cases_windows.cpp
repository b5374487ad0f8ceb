#include "tests/ui/open_error_cases.h"

namespace zav {

const char* const kMappingNowSays = "Now: COM3 is opened as /dev/ttyUSB2.";

// Windows refuses a port held by another program with "access denied"; there are no groups
// to join and no lock files, so both faults get the same advice.
std::vector<OpenErrorCase> OpenErrorCases() {
  const std::vector<std::string> heldSays = {"Another program holds COM3", "\"Access is denied\"",
                                             "tries the port about once a second"};
  return {
      OpenErrorCase{"PermissionDenied", DeviceFault::PermissionDenied, std::nullopt,
                    "cannot open (Permission denied) \u00b7 COM3 \u2192 /dev/ttyUSB2", heldSays},
      OpenErrorCase{"Busy", DeviceFault::Busy, std::nullopt,
                    "port busy, retrying \u00b7 COM3 \u2192 /dev/ttyUSB2", heldSays},
      OpenErrorCase{"NotFound",
                    DeviceFault::NotFound,
                    std::nullopt,
                    "cannot open (No such file or directory) \u00b7 COM3 \u2192 /dev/ttyUSB2",
                    {"may be unplugged", "Device Manager", "\"Ports (COM & LPT)\"",
                     "Serial devices here now:"}},
  };
}

}  // namespace zav
