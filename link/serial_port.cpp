#include "link/serial_port.h"

#include <array>
#include <string>

#include "platform/files/file_replace.h"
#include "platform/files/file_start.h"
#include "platform/files/path_text.h"
#include "platform/port_name.h"

namespace zav {

namespace {

// The stored name, or nothing when the file is missing or too short to hold one.
std::optional<std::string> ReadStoredPortName(const std::filesystem::path& settingsFile) {
  const auto bytes = ReadFileStart(settingsFile, kPortNameLength);
  if (!bytes || bytes->size() != kPortNameLength) {
    return std::nullopt;
  }
  return std::string(bytes->begin(), bytes->end());
}

// The name overwrites bytes 0 to 3 in place, so the library behind it is never at stake,
// and reaches the disk before the port is reopened. A file that can be neither written nor
// created keeps its name; reopening then reports the port.
// Nothing when stored, else the system's reason.
std::optional<std::string> StorePortName(const std::filesystem::path& settingsFile,
                                         const std::string& name) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
  return ReplaceFileStart(settingsFile, std::span(bytes, name.size()));
}

// The chosen port, opened by its name for this run when the settings file would not take it.
bool OpenUnsavedPort(Link& link, const std::string& name) {
  link.portNumber = static_cast<std::uint8_t>(name[3] - '0');
  const bool opened = link.device != nullptr && link.device->Open(name);
  NoteOpenResult(link, name, opened);
  return opened;
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

std::string PortNotSavedText(const std::filesystem::path& settingsFile, const std::string& name,
                             const std::string& reason) {
  return name + " cannot be saved in \"" + Utf8FromPath(settingsFile) + "\": " + reason + ".\n\n" +
         name + " is used until the program ends; the next start opens the port saved before.";
}

void SelectPort(Link& link, int index) {
  if (index < 0 || index >= 10) {
    return;
  }
  const std::string name = ComPortName(index + 1);
  const std::optional<std::string> notStored = StorePortName(link.settingsFile, name);
  ClosePort(link);
  // A frame cut off by the change never completes; its bytes belong to the old port.
  link.receiver = FrameReceiver{};
  if (notStored && link.desktop != nullptr) {
    link.desktop->ShowMessage(link.mainWindow,
                              PortNotSavedText(link.settingsFile, name, *notStored), kErrorCaption,
                              MessageButtons::Ok, MessageIcon::Warning);
  }
  const bool opened = notStored ? OpenUnsavedPort(link, name) : OpenSerialPort(link);
  if (!opened && link.desktop != nullptr) {
    link.desktop->ShowMessage(link.mainWindow, kPortErrorText, kErrorCaption, MessageButtons::Ok,
                              MessageIcon::Error);
  }
}

}  // namespace zav
