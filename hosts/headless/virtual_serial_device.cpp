#include "hosts/headless/virtual_serial_device.h"

#include <algorithm>

namespace zav::headless {

namespace {
constexpr Micros kReadTimeout = 1 * kMillisecond;
}

VirtualSerialDevice::VirtualSerialDevice(VirtualClock& clock, VirtualPorts& ports)
    : clock_(clock), ports_(ports) {}

VirtualSerialDevice::~VirtualSerialDevice() {
  Close();
}

bool VirtualSerialDevice::Open(std::string_view portName) {
  Close();
  openAttempts_.emplace_back(portName);
  lastName_ = std::string(portName);
  const auto found = ports_.lines.find(portName);
  const auto injected = ports_.openFaults.find(portName);
  if (found == ports_.lines.end() || ports_.removed.contains(portName)) {
    fault_ = DeviceFault::NotFound;
    return false;
  }
  if (injected != ports_.openFaults.end()) {
    fault_ = injected->second;
    return false;
  }
  if (ports_.held.contains(portName)) {
    fault_ = DeviceFault::Busy;
    return false;
  }
  fault_ = DeviceFault::None;
  line_ = found->second;
  openName_ = std::string(portName);
  ports_.held.insert(openName_);
  line_->DiscardArrived();  // the purge empties the input queue
  return true;
}

void VirtualSerialDevice::Close() {
  if (line_ != nullptr) {
    ports_.held.erase(openName_);
    line_ = nullptr;
    openName_.clear();
  }
}

std::optional<std::uint8_t> VirtualSerialDevice::ReadByte() {
  if (line_ == nullptr || LostDevice()) {
    return std::nullopt;
  }
  const Micros deadline = clock_.Now() + kReadTimeout;
  while (true) {
    if (const std::optional<std::uint8_t> byte = line_->TakeArrived()) {
      return byte;
    }
    if (clock_.Now() >= deadline) {
      return std::nullopt;
    }
    // Step to the line's next event so a byte is taken at the moment it arrives.
    const std::optional<Micros> next = line_->NextEvent();
    Micros target = deadline;
    if (next && *next < deadline) {
      target = std::max(*next, clock_.Now());
    }
    clock_.AdvanceTo(target);
  }
}

void VirtualSerialDevice::Write(std::span<const std::uint8_t> bytes) {
  if (line_ != nullptr && !LostDevice()) {
    line_->Send(bytes);
  }
}

bool VirtualSerialDevice::LostDevice() {
  if (!ports_.removed.contains(openName_)) {
    return false;
  }
  Close();
  fault_ = DeviceFault::Removed;
  return true;
}

std::string VirtualSerialDevice::FaultText() const {
  switch (fault_) {
    case DeviceFault::None:
      return {};
    case DeviceFault::NotFound:
      return "No such file or directory";
    case DeviceFault::PermissionDenied:
      return "Permission denied";
    case DeviceFault::Busy:
      return "Device or resource busy";
    case DeviceFault::Removed:
      return "Input/output error";
    case DeviceFault::Other:
      break;
  }
  return "Unknown error";
}

std::string VirtualSerialDevice::DevicePath() const {
  const auto found = ports_.devicePaths.find(lastName_);
  return found == ports_.devicePaths.end() ? std::string() : found->second;
}

bool VirtualSerialDevice::Reopen() {
  return !lastName_.empty() && Open(lastName_);
}

}  // namespace zav::headless
