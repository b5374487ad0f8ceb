#pragma once
// The modal boxes on the Windows API: message boxes, the questions with labelled buttons
// (task dialogs), and the common open and save dialogs. Each runs the system's modal loop,
// which delivers the timers of every window of the program meanwhile.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace zav::win32 {

MessageAnswer ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                             MessageButtons buttons, MessageIcon icon);
// `extraLabel` names a button beside the safe one; `safeIsCancel`: the safe answer is
// Cancel (else OK). True when the labelled button was chosen.
bool AskWithLabelledButton(HWND owner, std::string_view text, std::string_view caption,
                           std::string_view extraLabel, MessageIcon icon, bool safeIsCancel);
std::optional<std::string> ChooseFile(HWND owner, const FileDialogOptions& options, bool toSave);

}  // namespace zav::win32
