#include "ui/connection_status.h"

#include "datalog/local_time.h"
#include "texts/joiner.h"
#include "upgrade/upload_silence.h"

namespace zav {

namespace {

std::string PortText(const Connection& connection) {
  if (connection.devicePath.empty()) {
    return connection.portName;
  }
  return connection.portName + " \u2192 " + connection.devicePath;
}

std::string CountersText(const Connection& connection) {
  const LinkCounters& counters = connection.counters;
  return std::to_string(counters.framesTaken) + " frames" + kJoiner +
         std::to_string(counters.bytesDiscarded) + " discarded" + kJoiner +
         std::to_string(counters.requestsRepeated) + " repeated" + kJoiner +
         std::to_string(BytesPerSecond(connection)) + " B/s";
}

// When a retry got the port, while that opening lasts; nothing when the window has not
// stamped the moment (a host without a wall clock).
std::string RegainedText(const Connection& connection) {
  if (!connection.regained || connection.regainedAtUnixMs == 0) {
    return {};
  }
  return "got the port at " + LocalClockText(connection.regainedAtUnixMs);
}

std::string StateText(const Connection& connection) {
  if (connection.uploadSilentSeconds != 0) {
    return SilentReceiverText(connection.uploadSilentSeconds);
  }
  switch (connection.state) {
    case LinkState::NoPort:
      return "no port chosen";
    case LinkState::CannotOpen:
      if (RetriesOpen(connection)) {
        return "port busy, retrying";
      }
      return "cannot open (" + FaultReason(connection) + ")";
    case LinkState::Waiting:
      return "open, waiting for the controller";
    case LinkState::Answering:
      return "controller answering";
    case LinkState::Silent:
      return "no answer for " + std::to_string(SilentSeconds(connection)) + " s";
    case LinkState::Removed:
      return "adapter removed, reconnecting";
  }
  return {};
}

}  // namespace

std::string FaultReason(const Connection& connection) {
  if (!connection.faultText.empty()) {
    return connection.faultText;
  }
  switch (connection.fault) {
    case DeviceFault::NotFound:
      return "not found";
    case DeviceFault::PermissionDenied:
      return "permission denied";
    case DeviceFault::Busy:
      return "busy";
    case DeviceFault::Removed:
      return "device removed";
    case DeviceFault::None:
    case DeviceFault::Other:
      break;
  }
  return "unknown reason";
}

std::string ConnectionStatusText(const Connection& connection) {
  if (connection.state == LinkState::NoPort) {
    return StateText(connection);
  }
  // The state first: it is what a narrow window must still show.
  std::string text = StateText(connection) + kJoiner + PortText(connection);
  if (PortIsOpen(connection.state)) {
    if (const std::string regained = RegainedText(connection); !regained.empty()) {
      text += kJoiner + regained;
    }
    text += kJoiner + CountersText(connection);
  }
  return text;
}

}  // namespace zav
