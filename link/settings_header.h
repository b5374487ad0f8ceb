#pragma once
// The port name at the start of the settings file, written in place.

#include <filesystem>
#include <string_view>

namespace zav {

// Writes `name` over the first bytes of the settings file. An existing file is opened for
// writing only, never truncated and never re-created, so a file the program may write but
// not read keeps the configuration library after the name; a missing file is created and
// then holds the name alone. False when nothing could be written.
bool WritePortNameInPlace(const std::filesystem::path& settingsFile, std::string_view name);

}  // namespace zav
