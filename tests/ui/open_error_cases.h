#pragma once
// What the connection help must say about each open error: its advice is written for the
// system the program runs on, so the cases come from a file CMake picks.

#include <optional>
#include <string>
#include <vector>

#include "platform/serial_device.h"
#include "platform/serial_survey.h"

namespace zav {

struct OpenErrorCase {
  const char* name;
  DeviceFault fault;
  std::optional<DeviceLock> lock;
  const char* statusLine;
  std::vector<std::string> helpSays;
};

// COM3 maps to /dev/ttyUSB2, which exists; the survey finds an FTDI adapter at /dev/ttyUSB0
// and says /dev/ttyUSB2 belongs to the group "uucp".
std::vector<OpenErrorCase> OpenErrorCases();
// How the help tells where COM3 leads now.
extern const char* const kMappingNowSays;

}  // namespace zav
