#pragma once
// A dialog template of the program as the Windows API takes it: a DLGTEMPLATEEX in memory,
// laid out in dialog units of the dialog font ("MS Shell Dlg", 8 points), one item per
// control with the class and styles of its kind.

#include <cstdint>
#include <vector>

#include "resources/dialog_template.h"

namespace zav::win32 {

// The dialog font the templates were laid out in.
inline constexpr int kDialogFontPoints = 8;
inline constexpr const wchar_t* kDialogFontName = L"MS Shell Dlg";

// Words, so that the bytes are aligned as the API wants them (items on DWORD bounds).
using TemplateWords = std::vector<std::uint16_t>;

// `fontPoints` below kDialogFontPoints makes the whole window smaller, its layout kept.
TemplateWords DialogTemplateWords(const DialogTemplate& dialog, bool ownerless,
                                  int fontPoints = kDialogFontPoints);

// The window styles of the dialog's frame.
unsigned long DialogStyle(const DialogTemplate& dialog);

}  // namespace zav::win32
