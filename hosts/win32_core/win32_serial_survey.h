#pragma once
// What Windows tells about its serial ports, for the connection help: the ports Device
// Manager shows (with the adapter's name, maker and USB ids) and those the registry's
// SERIALCOMM map lists. Windows has neither device groups nor lock files.

#include "platform/serial_survey.h"

namespace zav {

class Win32SerialSurvey final : public SerialSurvey {
 public:
  std::vector<SerialDeviceInfo> Devices() const override;
  std::string GroupOf(const std::string& /*path*/) const override { return {}; }
  std::optional<DeviceLock> LockOf(const std::string& /*path*/) const override {
    return std::nullopt;
  }
  std::string Environment(const std::string& variable) const override;
  // A port name ("COM3") exists when the system knows the device; other paths as files.
  bool Exists(const std::string& path) const override;
};

}  // namespace zav
