#pragma once
// The serial device of the headless host: port names lead to virtual lines; reads wait on
// virtual time for at most 1 ms, as on the real device.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "hosts/headless/virtual_line.h"
#include "platform/serial_device.h"

namespace zav::headless {

// The ports that exist on the virtual machine, and which of them are held open.
struct VirtualPorts {
  std::map<std::string, VirtualLine*, std::less<>> lines;
  std::set<std::string, std::less<>> held;
  // Ports whose adapter is pulled out: an open fails, an open device fails at its next
  // read or write and closes. Erase the name to plug it back in.
  std::set<std::string, std::less<>> removed;
  // The fault an open of the port meets, as the system would report it (no access, held by
  // another program); a test's way to produce what root never sees.
  std::map<std::string, DeviceFault, std::less<>> openFaults;
  // The device path each port maps to, for what the program shows; none: the name alone.
  std::map<std::string, std::string, std::less<>> devicePaths;
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
  DeviceFault Fault() const override { return fault_; }
  std::string FaultText() const override;
  std::string DevicePath() const override;
  bool Reopen() override;

  // Every name an open was tried with, in order.
  const std::vector<std::string>& OpenAttempts() const { return openAttempts_; }
  const std::string& OpenName() const { return openName_; }

 private:
  VirtualClock& clock_;
  VirtualPorts& ports_;
  VirtualLine* line_ = nullptr;
  std::string openName_;
  std::vector<std::string> openAttempts_;
  std::string lastName_;  // of the last Open, for Reopen
  DeviceFault fault_ = DeviceFault::None;

  // True when the open line's adapter has been pulled out; it is then closed.
  bool LostDevice();
};

}  // namespace zav::headless
