#pragma once
// Opening the port named in the settings file, byte-wise I/O, and switching ports.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/link_state.h"

namespace zav {

inline constexpr const char* kPortErrorText = "Error opening serial port - check setting";
inline constexpr const char* kErrorCaption = "Error";

// Reads the port name from bytes 0 to 3 of the settings file, records its digit in
// portNumber and opens the device. True when the device was opened and configured.
bool OpenSerialPort(Link& link);
void ClosePort(Link& link);

std::optional<std::uint8_t> ReadPortByte(Link& link);
void WritePortBytes(Link& link, std::span<const std::uint8_t> bytes);
// Discards input until a read finds nothing (one read time-out after the line went quiet).
void DrainInput(Link& link);

// Stores "COM1".."COM9" for list index 0..8 in bytes 0 to 3 of the settings file (the rest
// of the file is kept) and reopens the port; a failed reopen is reported to the user. When
// the file does not take the name (read-only, say), the user is told so and the chosen port
// is opened for this run all the same.
void SelectPort(Link& link, int index);

// What the user is told when the port choice cannot be stored.
std::string PortNotSavedText(const std::filesystem::path& settingsFile, const std::string& name,
                             const std::string& reason);

}  // namespace zav
