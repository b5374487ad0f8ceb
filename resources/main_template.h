#pragma once
// Template 1000: the main window "ZAV Monitor 2.04a" with its menu 10000 and toolbar 1002.

#include "resources/dialog_template.h"

namespace zav {

inline constexpr int kMainTemplateId = 1000;

const DialogTemplate& MainTemplate();

}  // namespace zav
