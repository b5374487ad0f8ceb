#pragma once
// The open and save file dialogs. Qt's own dialog, not the desktop's native one, so that it
// runs a Qt modal loop and the timers of every open dialog keep running behind it.

#include <optional>
#include <string>

#include "platform/desktop.h"

class QWidget;

namespace zav::qt {

enum class FileDialogPurpose { Open, Save };

// The chosen path (UTF-8), or nothing when the user cancelled. The save dialog never asks
// about replacing a file; the program asks itself. With fileMustExist only an existing file
// can be opened, in an existing folder; pathMustExist on its own is not checked (the program
// never asks for it alone).
std::optional<std::string> RunFileDialog(QWidget* owner, FileDialogPurpose purpose,
                                         const FileDialogOptions& options);

}  // namespace zav::qt
