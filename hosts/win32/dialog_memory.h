#pragma once
// A dialog template of the program as the Windows API takes it: a DLGTEMPLATEEX in memory,
// laid out in dialog units of the dialog font ("MS Shell Dlg", 8 points), one item per
// control with the class and styles of its kind.

#include <cstdint>
#include <vector>

#include "resources/dialog_template.h"

namespace zav::win32 {

// Words, so that the bytes are aligned as the API wants them (items on DWORD bounds).
using TemplateWords = std::vector<std::uint16_t>;

TemplateWords DialogTemplateWords(const DialogTemplate& dialog, bool ownerless);

}  // namespace zav::win32
