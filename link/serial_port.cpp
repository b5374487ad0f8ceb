#include "link/serial_port.h"

#include <array>
#include <fstream>
#include <string>

#include "platform/files/file_replace.h"
#include "platform/port_name.h"

namespace zav {

namespace {

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

// The name overwrites bytes 0 to 3 in place, so the library behind it is never at stake,
// and reaches the disk before the port is reopened. A file that can be neither written nor
// created keeps its name; reopening then reports the port.
void StorePortName(const std::filesystem::path& settingsFile, const std::string& name) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
  ReplaceFileStart(settingsFile, std::span(bytes, name.size()));
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
  const std::string name = ComPortName(index + 1);
  StorePortName(link.settingsFile, name);
  ClosePort(link);
  if (!OpenSerialPort(link) && link.desktop != nullptr) {
    link.desktop->ShowMessage(link.mainWindow, kPortErrorText, kErrorCaption, MessageButtons::Ok,
                              MessageIcon::Error);
  }
}

}  // namespace zav
