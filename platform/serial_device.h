#pragma once
// The serial device as the device link uses it: byte-wise, synchronous, one thread.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zav {

// Why the last Open failed, or that an open device stopped working (it is then closed).
enum class DeviceFault { None, NotFound, PermissionDenied, Busy, Removed, Other };

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

  // What a device that knows more about itself tells; the defaults know nothing.
  //
  // The fault of the last Open, or Removed once the open device failed (read or write
  // error, hang-up, device gone): the device has then closed itself. None after a good open.
  virtual DeviceFault Fault() const { return DeviceFault::None; }
  // The system's own words for the fault ("Permission denied"); empty when there is none.
  virtual std::string FaultText() const { return {}; }
  // The path the last Open went to ("/dev/ttyUSB0"); empty when the name maps to none.
  virtual std::string DevicePath() const { return {}; }
  // A stable link to that device (under /dev/serial/by-id), when there is one.
  virtual std::string StablePath() const { return {}; }
  // Opens the device of the last Open again: by its stable link when it had one (a replugged
  // adapter may come back under another name), else by the same port name.
  virtual bool Reopen() { return false; }
};

}  // namespace zav
