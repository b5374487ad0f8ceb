#pragma once
// The parts of "Connection help…" that depend on the system the program runs on: how a
// stored port name finds its device, and what to do about a fault. CMake picks the file
// for the system.

#include <string>

#include "link/connection.h"
#include "platform/serial_survey.h"

namespace zav {

// The mapping rule of port names to devices, with the rule that applied now.
std::string PortMappingText(const Connection& connection, const SerialSurvey& survey);
// What to do about the connection's fault; empty when there is none.
std::string FaultAdvice(const Connection& connection, const SerialSurvey& survey);
// The advice that does not depend on the system (a device gone away or failing otherwise);
// empty for the faults each system words itself, and when there is none.
std::string AdviceAlikeOnEverySystem(const Connection& connection);

}  // namespace zav
