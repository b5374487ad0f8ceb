#pragma once
// The system's serial devices as Qt and the file system tell them, for the connection help.

#include "platform/serial_survey.h"

namespace zav {

class QtSerialSurvey final : public SerialSurvey {
 public:
  std::vector<SerialDeviceInfo> Devices() const override;
  std::string GroupOf(const std::string& path) const override;
  // The lock file Qt's serial port (and other serial programs) leave in /run/lock or
  // /var/lock: "LCK..<device name>", holding the holder's PID.
  std::optional<DeviceLock> LockOf(const std::string& path) const override;
  std::string Environment(const std::string& variable) const override;
  bool Exists(const std::string& path) const override;
};

}  // namespace zav
