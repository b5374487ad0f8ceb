#pragma once
// The serial device on Qt's serial port, used synchronously: every call finishes its own
// I/O, so it works from timer handlers and modal loops, and with no event loop at all.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "hosts/qt_core/port_names.h"
#include "platform/serial_device.h"

class QSerialPort;

namespace zav {

class QtSerialDevice final : public SerialDevice {
 public:
  // The lookups find the device behind a port name; tests point them at a pseudo-terminal.
  explicit QtSerialDevice(PortLookups lookups = SystemPortLookups());
  ~QtSerialDevice() override;
  QtSerialDevice(const QtSerialDevice&) = delete;
  QtSerialDevice& operator=(const QtSerialDevice&) = delete;

  bool Open(std::string_view portName) override;
  void Close() override;
  bool IsOpen() const override;

  std::optional<std::uint8_t> ReadByte() override;
  void Write(std::span<const std::uint8_t> bytes) override;

  DeviceFault Fault() const override { return fault_; }
  std::string FaultText() const override { return faultText_; }
  std::string DevicePath() const override { return devicePath_; }
  std::string StablePath() const override { return stablePath_; }
  bool Reopen() override;

 private:
  bool OpenPath(const std::string& path);
  // Closes the port after a read or write failed for good (device gone, hang-up).
  void FailIfLost();
  // Back to the 1-byte read limit between reads.
  void HoldWakesDown();

  PortLookups lookups_;
  std::unique_ptr<QSerialPort> port_;  // a fresh port per open; none while closed
  std::string lastName_;               // of the last Open, for Reopen
  std::string devicePath_;
  std::string stablePath_;
  DeviceFault fault_ = DeviceFault::None;
  std::string faultText_;
};

}  // namespace zav
