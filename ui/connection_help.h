#pragma once
// "Connection help…": what the fitter needs to get the line going, from the link's record
// of the connection and what the system tells about its serial devices.

#include <string>

#include "link/connection.h"
#include "platform/serial_survey.h"

namespace zav {

inline constexpr const char* kConnectionHelpCaption = "Connection help";

// The whole text: the port and its mapping rule with the rule that applied now, what to do
// about the fault (group and command, the program holding the device or a stale lock, an
// unplugged adapter), and the serial devices there are now.
std::string ConnectionHelpText(const Connection& connection, const SerialSurvey& survey);

}  // namespace zav
