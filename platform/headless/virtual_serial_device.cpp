#include "platform/headless/virtual_serial_device.h"

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
  const auto found = ports_.lines.find(portName);
  if (found == ports_.lines.end() || ports_.held.contains(portName)) {
    return false;
  }
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
  if (line_ == nullptr) {
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
  if (line_ != nullptr) {
    line_->Send(bytes);
  }
}

}  // namespace zav::headless
