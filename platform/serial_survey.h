#pragma once
// What the system can tell about its serial devices, for the connection help: the devices
// there are now, who owns a device node, who holds its lock. The Qt host asks the system;
// tests give fixed answers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zav {

struct SerialDeviceInfo {
  std::string path;        // "/dev/ttyUSB0"
  std::string stableLink;  // its /dev/serial/by-id link; empty when none
  std::string description;
  std::string manufacturer;
  std::optional<std::uint16_t> vendorId;
  std::optional<std::uint16_t> productId;
  std::string serialNumber;
};

// A lock file that marks a device as taken.
struct DeviceLock {
  std::string file;  // "/run/lock/LCK..ttyUSB0"
  std::optional<long> pid;
  std::string program;  // the holder's name; empty when unknown or gone
  bool stale = false;   // its process is gone for certain (not merely hidden from /proc)
};

class SerialSurvey {
 public:
  virtual ~SerialSurvey() = default;
  virtual std::vector<SerialDeviceInfo> Devices() const = 0;
  // The group that owns the device node; empty when it cannot be told.
  virtual std::string GroupOf(const std::string& path) const = 0;
  virtual std::optional<DeviceLock> LockOf(const std::string& path) const = 0;
  // An environment variable's value; empty when unset.
  virtual std::string Environment(const std::string& variable) const = 0;
  virtual bool Exists(const std::string& path) const = 0;
};

}  // namespace zav
