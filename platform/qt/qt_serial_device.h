#pragma once
// The serial device on Qt's serial port, used synchronously: every call finishes its own
// I/O, so it works from timer handlers and modal loops, and with no event loop at all.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/qt/port_names.h"
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
  std::string DeviceOf(std::string_view portName) const override;

 private:
  PortLookups lookups_;
  std::unique_ptr<QSerialPort> port_;  // a fresh port per open; none while closed
};

}  // namespace zav
