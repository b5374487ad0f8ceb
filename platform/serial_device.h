#pragma once
// The serial device as the device link uses it: byte-wise, synchronous, one thread.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zav {

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Opens the device behind a port name such as "COM3" exclusively and configures it:
  // 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control, DTR off, RTS on,
  // 4096-byte queues, both queues purged, reads that wait at most 1 ms. Any device open
  // before is closed first. False when the device cannot be opened.
  virtual bool Open(std::string_view portName) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // One byte, or none when nothing arrived within 1 ms or no device is open.
  virtual std::optional<std::uint8_t> ReadByte() = 0;
  // Blocks until the driver has taken the bytes; dropped when no device is open.
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;

  // Where a port name leads on this system (a device path), for messages; empty when the
  // host cannot say.
  virtual std::string DeviceOf(std::string_view /*portName*/) const { return {}; }
};

}  // namespace zav
