#include "tests/ui/open_error_cases.h"

namespace zav {

const char* const kMappingNowSays =
    "ZAVMON_COM3 is not set and the USB adapter /dev/ttyUSB2 exists";

std::vector<OpenErrorCase> OpenErrorCases() {
  return {
      OpenErrorCase{
          "PermissionDenied",
          DeviceFault::PermissionDenied,
          std::nullopt,
          "cannot open (Permission denied) \u00b7 COM3 \u2192 /dev/ttyUSB2",
          {"belongs to the group \"uucp\"", "sudo usermod -aG uucp $USER", "log out and in"}},
      OpenErrorCase{"BusyWithHolder",
                    DeviceFault::Busy,
                    DeviceLock{"/run/lock/LCK..ttyUSB2", 4321, "minicom", false},
                    "port busy, retrying \u00b7 COM3 \u2192 /dev/ttyUSB2",
                    {"Another program holds /dev/ttyUSB2: PID 4321 (minicom)",
                     "tries the port about once a second"}},
      OpenErrorCase{"BusyByStaleLock",
                    DeviceFault::Busy,
                    DeviceLock{"/run/lock/LCK..ttyUSB2", 999, "", true},
                    "port busy, retrying \u00b7 COM3 \u2192 /dev/ttyUSB2",
                    {"is stale", "sudo rm /run/lock/LCK..ttyUSB2"}},
      OpenErrorCase{"NotFound",
                    DeviceFault::NotFound,
                    std::nullopt,
                    "cannot open (No such file or directory) \u00b7 COM3 \u2192 /dev/ttyUSB2",
                    {"may be unplugged", "Serial devices here now:"}},
  };
}

}  // namespace zav
