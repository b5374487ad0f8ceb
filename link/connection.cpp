#include "link/connection.h"

#include <numeric>

#include "link/link_state.h"
#include "link/serial_port.h"
#include "platform/port_name.h"

namespace zav {

namespace {

// Everything counted belongs to one opening of the port.
void StartCounting(Connection& connection) {
  connection.counters = {};
  connection.bytesInFrame = 0;
  connection.unansweredRequest.reset();
  connection.framesAtLastTick = 0;
  connection.ticksSinceFrame = 0;
  connection.bytesPerTick.fill(0);
  connection.bytesAtLastTick = 0;
}

void TakeDeviceFacts(Connection& connection, const SerialDevice& device) {
  connection.fault = device.Fault();
  connection.faultText = device.FaultText();
  if (std::string path = device.DevicePath(); !path.empty()) {
    connection.devicePath = std::move(path);
  }
}

void CountRate(Connection& connection) {
  const std::uint64_t received = connection.counters.bytesReceived;
  connection.bytesPerTick[connection.rateSlot] =
      static_cast<std::uint32_t>(received - connection.bytesAtLastTick);
  connection.bytesAtLastTick = received;
  connection.rateSlot = (connection.rateSlot + 1) % connection.bytesPerTick.size();
}

void FollowAnswers(Connection& connection) {
  if (connection.counters.framesTaken > connection.framesAtLastTick) {
    connection.framesAtLastTick = connection.counters.framesTaken;
    connection.ticksSinceFrame = 0;
    connection.state = LinkState::Answering;
    return;
  }
  ++connection.ticksSinceFrame;
  if (connection.state == LinkState::Answering && connection.ticksSinceFrame >= kSilentAfterTicks) {
    connection.state = LinkState::Silent;
  }
}

void StartRetrying(Connection& connection) {
  connection.ticksUntilRetry = kRetryTicks;
  connection.ticksUnplugged = 0;
}

// The device closed itself after a failure: let go of it and start trying again.
void LoseDevice(Link& link) {
  Connection& connection = link.connection;
  TakeDeviceFacts(connection, *link.device);
  if (connection.fault == DeviceFault::None) {
    connection.fault = DeviceFault::Removed;
  }
  ClosePort(link);
  link.receiver = FrameReceiver{};  // a frame cut off by the failure never completes
  connection.state = LinkState::Removed;
  connection.regained = false;
  StartRetrying(connection);
}

// A try that fails keeps the state and fault it was tried for: the port is still the busy
// one or the removed one to the user, whatever the system says in between.
void TryReopen(Link& link) {
  Connection& connection = link.connection;
  ++connection.ticksUnplugged;
  if (--connection.ticksUntilRetry > 0) {
    return;
  }
  connection.ticksUntilRetry = kRetryTicks;
  if (!link.device->Reopen()) {
    return;
  }
  TakeDeviceFacts(connection, *link.device);
  StartCounting(connection);
  connection.state = LinkState::Waiting;
  connection.regained = true;
  connection.regainedAtUnixMs = 0;
}

}  // namespace

void NoteOpenResult(Link& link, const std::string& portName, bool opened) {
  Connection& connection = link.connection;
  connection.portName = portName;
  connection.devicePath.clear();
  StartCounting(connection);
  const bool named = ComPortNumber(portName).has_value();
  if (link.device != nullptr && named) {
    TakeDeviceFacts(connection, *link.device);
  } else {
    connection.fault = DeviceFault::None;
    connection.faultText.clear();
  }
  connection.state = opened  ? LinkState::Waiting
                     : named ? LinkState::CannotOpen
                             : LinkState::NoPort;
  connection.regained = false;
  if (RetriesOpen(connection)) {
    StartRetrying(connection);
  }
}

void NoteReceiverByte(Connection& connection, bool frameDone, bool waiting) {
  ++connection.bytesInFrame;
  if (frameDone) {
    ++connection.counters.framesTaken;
    // A frame begun before the counting started brings fewer bytes than a whole frame.
    if (connection.bytesInFrame > kResponseFrameBytes) {
      connection.counters.bytesDiscarded += connection.bytesInFrame - kResponseFrameBytes;
    }
    connection.bytesInFrame = 0;
  } else if (waiting) {
    connection.counters.bytesDiscarded += connection.bytesInFrame;
    connection.bytesInFrame = 0;
  }
}

void NoteBlockRequest(Connection& connection, std::uint8_t address) {
  if (connection.unansweredRequest == address) {
    ++connection.counters.requestsRepeated;
  }
  connection.unansweredRequest = address;
}

void WatchConnection(Link& link) {
  Connection& connection = link.connection;
  ++connection.ticks;
  CountRate(connection);
  if (link.cycle.transferCursor == kNoTransfer) {
    connection.unansweredRequest.reset();
  }
  if (link.device == nullptr) {
    return;
  }
  if (PortIsOpen(connection.state) && !link.device->IsOpen()) {
    LoseDevice(link);
    return;
  }
  if (RetriesOpen(connection)) {
    TryReopen(link);
    return;
  }
  // During an upload the line carries no frames; its own silence is the upload's to tell.
  if (PortIsOpen(connection.state) && link.cycle.upgradeArmed == UpgradeArming::Disarmed) {
    FollowAnswers(connection);
  }
}

std::uint32_t BytesPerSecond(const Connection& connection) {
  const std::uint64_t bytes = std::accumulate(connection.bytesPerTick.begin(),
                                              connection.bytesPerTick.end(), std::uint64_t{0});
  return static_cast<std::uint32_t>(bytes * 1000 / (kRateTicks * kTickMs));
}

std::uint32_t SilentSeconds(const Connection& connection) {
  return connection.ticksSinceFrame * kTickMs / 1000;
}

std::uint32_t UnpluggedSeconds(const Connection& connection) {
  return connection.ticksUnplugged * kTickMs / 1000;
}

}  // namespace zav
