#include "link/serial_port.h"

#include <array>
#include <fstream>
#include <string>

namespace zav {

namespace {

constexpr std::size_t kPortNameLength = 4;  // bytes, no terminator in the file

// The stored name, or nothing when the file is missing or too short to hold one.
std::optional<std::string> ReadStoredPortName(const std::filesystem::path& settingsFile) {
  std::ifstream file(settingsFile, std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  std::string name(kPortNameLength, '\0');
  file.read(name.data(), static_cast<std::streamsize>(kPortNameLength));
  if (file.gcount() != static_cast<std::streamsize>(kPortNameLength)) {
    return std::nullopt;
  }
  return name;
}

void StorePortName(const std::filesystem::path& settingsFile, const std::string& name) {
  std::fstream file(settingsFile, std::ios::binary | std::ios::in | std::ios::out);
  if (!file) {
    file.open(settingsFile, std::ios::binary | std::ios::out | std::ios::trunc);
  }
  if (!file) {
    return;
  }
  file.seekp(0);
  file.write(name.data(), static_cast<std::streamsize>(name.size()));
}

}  // namespace

bool OpenSerialPort(Link& link) {
  const std::optional<std::string> name = ReadStoredPortName(link.settingsFile);
  if (!name) {
    return false;
  }
  link.portNumber = static_cast<std::uint8_t>((*name)[3] - '0');
  return link.device != nullptr && link.device->Open(*name);
}

void ClosePort(Link& link) {
  if (link.device != nullptr) {
    link.device->Close();
  }
}

std::optional<std::uint8_t> ReadPortByte(Link& link) {
  if (link.device == nullptr) {
    return std::nullopt;
  }
  return link.device->ReadByte();
}

void WritePortBytes(Link& link, std::span<const std::uint8_t> bytes) {
  if (link.device != nullptr) {
    link.device->Write(bytes);
  }
}

void DrainInput(Link& link) {
  while (ReadPortByte(link)) {
  }
}

void SelectPort(Link& link, int index) {
  if (index < 0 || index >= 10) {
    return;
  }
  const std::string name = "COM" + std::string(1, static_cast<char>('1' + index));
  StorePortName(link.settingsFile, name);
  ClosePort(link);
  if (!OpenSerialPort(link) && link.desktop != nullptr) {
    link.desktop->ShowMessage(link.mainWindow, kPortErrorText, kErrorCaption, MessageButtons::Ok,
                              MessageIcon::Error);
  }
}

}  // namespace zav
