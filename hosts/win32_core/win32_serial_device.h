#pragma once
// The serial device on the Windows API: "COM3" is opened as \\.\COM3, used synchronously.
// A read returns at once with what has arrived (the driver's time-outs say so), so a poll
// tick takes a whole reply in one call and the program never wakes per byte.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/serial_device.h"

namespace zav {

class Win32SerialDevice final : public SerialDevice {
 public:
  Win32SerialDevice() = default;
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  bool Open(std::string_view portName) override;
  void Close() override;
  bool IsOpen() const override { return handle_ != nullptr; }

  std::optional<std::uint8_t> ReadByte() override;
  void Write(std::span<const std::uint8_t> bytes) override;

  DeviceFault Fault() const override { return fault_; }
  std::string FaultText() const override { return faultText_; }
  std::string DevicePath() const override { return devicePath_; }
  bool Reopen() override;

  // Whether the last open could set the modem lines (DTR off, RTS on) itself; an adapter or
  // a driver without them is used as it is.
  bool ModemLinesSet() const { return modemLinesSet_; }

 private:
  // Marks the port as ours among the program's users; false when another holds it.
  bool ClaimPort();
  bool Configure();
  // Takes what the driver holds into the buffer; false when the device failed.
  bool Refill();
  // Closes the device after a call failed for good (adapter pulled out, driver gone).
  void Lose(unsigned long error);

  void* handle_ = nullptr;  // the port's HANDLE; none while closed
  void* claim_ = nullptr;   // the named mutex that marks the port as ours
  std::vector<std::uint8_t> buffer_;
  std::size_t taken_ = 0;  // bytes of buffer_ already read
  std::string lastName_;
  std::string devicePath_;
  DeviceFault fault_ = DeviceFault::None;
  std::string faultText_;
  bool modemLinesSet_ = false;
};

}  // namespace zav
