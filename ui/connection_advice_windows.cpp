// The port mapping and the advice on a fault, as they are on Windows: COMn is the system's
// own port of that name, Device Manager shows which adapter has which number, and a port
// is used by one program at a time.
#include "ui/connection_advice.h"

#include "platform/port_name.h"

namespace zav {

std::string PortMappingText(const Connection& connection, const SerialSurvey& /*survey*/) {
  const std::string& port = connection.portName;
  std::string text =
      "How a port is found: COMn is the Windows port of that name. Device Manager lists the "
      "ports under \"Ports (COM & LPT)\" with their numbers, for example \"USB Serial Port "
      "(COM3)\".\n";
  if (!ComPortNumber(port)) {
    return text + "No port is chosen: pick one in the COM port list.\n";
  }
  const std::string device = connection.devicePath.empty() ? port : connection.devicePath;
  return text + "Now: " + port + " is opened as " + device + ".\n" +
         "The list offers COM1 to COM9. An adapter with a higher number can be given one of "
         "these in Device Manager: the port's Properties, \"Port Settings\", \"Advanced...\", "
         "\"COM Port Number\".\n";
}

std::string FaultAdvice(const Connection& connection, const SerialSurvey& /*survey*/) {
  const std::string& port = connection.portName;
  switch (connection.fault) {
    case DeviceFault::PermissionDenied:
    case DeviceFault::Busy:
      return "Another program holds " + port +
             ": Windows lets one program at a time use a port, and refuses the others with "
             "\"Access is denied\". Close that program (a terminal program, another ZAV Monitor "
             "or zavctl, a modem or phone tool): the program tries the port about once a second "
             "and takes it as soon as it is free.\n";
    case DeviceFault::NotFound:
      return port +
             " does not exist now. The adapter may be unplugged, or Windows gave it another "
             "number: plug it in, look in Device Manager under \"Ports (COM & LPT)\" for its "
             "number and pick that port from the list (the ports there are now are listed "
             "below). An adapter that shows with a yellow mark under \"Other devices\" lacks "
             "its driver: install the one from the adapter's maker.\n";
    case DeviceFault::Removed:
    case DeviceFault::Other:
    case DeviceFault::None:
      break;
  }
  return AdviceAlikeOnEverySystem(connection);
}

}  // namespace zav
