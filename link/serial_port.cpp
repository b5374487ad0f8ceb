#include "link/serial_port.h"

#include <array>
#include <fstream>
#include <string>

#include "link/settings_header.h"

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

}  // namespace

bool OpenSerialPort(Link& link) {
  const std::optional<std::string> name = ReadStoredPortName(link.settingsFile);
  if (!name) {
    NoteOpenResult(link, std::string(), false);
    return false;
  }
  link.portNumber = static_cast<std::uint8_t>((*name)[3] - '0');
  const bool opened = link.device != nullptr && link.device->Open(*name);
  NoteOpenResult(link, *name, opened);
  return opened;
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
  std::optional<std::uint8_t> byte = link.device->ReadByte();
  if (byte) {
    ++link.connection.counters.bytesReceived;
  }
  return byte;
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
  WritePortNameInPlace(link.settingsFile, name);
  ClosePort(link);
  if (!OpenSerialPort(link) && link.desktop != nullptr) {
    link.desktop->ShowMessage(link.mainWindow, kPortErrorText, kErrorCaption, MessageButtons::Ok,
                              MessageIcon::Error);
  }
}

}  // namespace zav
