// The advice on a fault that reads the same on every system.
#include "ui/connection_advice.h"

#include "ui/connection_status.h"

namespace zav {

std::string AdviceAlikeOnEverySystem(const Connection& connection) {
  switch (connection.fault) {
    case DeviceFault::Removed:
      return "The device went away (" + FaultReason(connection) +
             "): the program opens it again by itself as soon as it is back.\n";
    case DeviceFault::Other:
      return "The device could not be used: " + FaultReason(connection) + ".\n";
    case DeviceFault::PermissionDenied:
    case DeviceFault::Busy:
    case DeviceFault::NotFound:
    case DeviceFault::None:
      break;
  }
  return {};
}

}  // namespace zav
