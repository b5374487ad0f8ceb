#pragma once
// The serial device of the headless host: port names lead to virtual lines; reads wait on
// virtual time for at most 1 ms, as on the real device.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/virtual_line.h"
#include "platform/serial_device.h"

namespace zav::headless {

// The ports that exist on the virtual machine, and which of them are held open.
struct VirtualPorts {
  std::map<std::string, VirtualLine*, std::less<>> lines;
  std::set<std::string, std::less<>> held;
};

class VirtualSerialDevice : public SerialDevice {
 public:
  VirtualSerialDevice(VirtualClock& clock, VirtualPorts& ports);
  ~VirtualSerialDevice() override;
  VirtualSerialDevice(const VirtualSerialDevice&) = delete;
  VirtualSerialDevice& operator=(const VirtualSerialDevice&) = delete;

  bool Open(std::string_view portName) override;
  void Close() override;
  bool IsOpen() const override { return line_ != nullptr; }
  std::optional<std::uint8_t> ReadByte() override;
  void Write(std::span<const std::uint8_t> bytes) override;

  // Every name an open was tried with, in order.
  const std::vector<std::string>& OpenAttempts() const { return openAttempts_; }
  const std::string& OpenName() const { return openName_; }

 private:
  VirtualClock& clock_;
  VirtualPorts& ports_;
  VirtualLine* line_ = nullptr;
  std::string openName_;
  std::vector<std::string> openAttempts_;
};

}  // namespace zav::headless
