#include "ui/connection_help.h"

#include <cstdio>

#include "ui/connection_advice.h"
#include "ui/connection_status.h"

namespace zav {

namespace {

std::string Hex4(std::uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value);
  return text;
}

std::string DeviceLine(const SerialDeviceInfo& info) {
  std::string line = "  " + info.path;
  std::string about = info.description;
  if (!info.manufacturer.empty()) {
    about += (about.empty() ? "" : ", ") + info.manufacturer;
  }
  if (info.vendorId && info.productId) {
    about +=
        (about.empty() ? "USB " : ", USB ") + Hex4(*info.vendorId) + ":" + Hex4(*info.productId);
  }
  if (!info.serialNumber.empty()) {
    about += (about.empty() ? "serial " : ", serial ") + info.serialNumber;
  }
  if (!about.empty()) {
    line += " \u2014 " + about;
  }
  line += "\n";
  if (!info.stableLink.empty()) {
    line += "      " + info.stableLink + "\n";
  }
  return line;
}

std::string DeviceList(const SerialSurvey& survey) {
  const std::vector<SerialDeviceInfo> devices = survey.Devices();
  std::string text = "Serial devices here now:\n";
  if (devices.empty()) {
    return text + "  none found\n";
  }
  for (const SerialDeviceInfo& info : devices) {
    text += DeviceLine(info);
  }
  return text;
}

}  // namespace

std::string ConnectionHelpText(const Connection& connection, const SerialSurvey& survey) {
  std::string text = "Connection: " + ConnectionStatusText(connection) + "\n\n";
  text += PortMappingText(connection, survey) + "\n";
  if (connection.state == LinkState::CannotOpen || connection.state == LinkState::Removed) {
    text += FaultAdvice(connection, survey) + "\n";
  }
  return text + DeviceList(survey);
}

}  // namespace zav
