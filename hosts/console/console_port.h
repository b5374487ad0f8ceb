#pragma once
// The serial device a command-line program opens, and how its messages name a port and
// advise on a fault. CMake picks the system's file.

#include <memory>
#include <string>

#include "platform/serial_device.h"

namespace zav::console {

// The system's device for stored port names ("COM3").
std::unique_ptr<SerialDevice> PortDevice();

// A device named on the command line by its path, opened by the same device code as a
// stored name: `openName` opens it.
struct PathDevice {
  std::unique_ptr<SerialDevice> device;
  std::string openName;
};
PathDevice DeviceAtPath(const std::string& path);

// "COM3 (/dev/ttyUSB2)" where the name leads to a device of another name; else the name.
std::string DescribedPort(const std::string& portName);
// What to do about a device that did not open.
std::string OpenAdvice(DeviceFault fault);
// A hint after a stored name that did not open; empty where there is none to give.
std::string PortNameHint(const std::string& portName);

}  // namespace zav::console
