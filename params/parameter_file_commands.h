#pragma once
// The "Open" (10003) and "Save" (10004) commands: the file dialogs, the question before
// replacing a file, and the messages when a file cannot be read or written.

#include <filesystem>
#include <optional>

#include "link/link_state.h"
#include "params/parameter_state.h"

namespace zav {

inline constexpr const char* kParameterFilesCaption = "Configuration files ZAV (*.car)";
inline constexpr const char* kParameterFilesPattern = "*.car";
inline constexpr const char* kParameterFileExtension = "car";
inline constexpr const char* kOverwriteQuestion = "File already exist - overwrite ?";
inline constexpr const char* kFileErrorCaption = "Error";

// The Open-file dialog for an existing .car file; nothing when cancelled.
std::optional<std::filesystem::path> ChooseParameterFile(Desktop& desktop, WindowRef owner);

// The Save-file dialog; when the chosen file exists, the user is asked whether to replace
// it. Nothing when cancelled or when the user keeps the existing file.
std::optional<std::filesystem::path> ChooseParameterFileToSave(Desktop& desktop, WindowRef owner);

// Loads registers 80 to 94 from a chosen file and offers to send them. A file that cannot
// be read, or holds fewer than 30 bytes, is reported and changes nothing.
void OpenParameterFile(Link& link, ParameterState& state);
// The same for a file named without the dialog (one the program was started with).
void OpenParameterFileAt(Link& link, ParameterState& state, const std::filesystem::path& path);

// Saves registers 80 to 95 into a chosen file. A failure is reported and leaves any
// existing file as it was.
void SaveParameterFile(Link& link);

}  // namespace zav
