#pragma once
// Template 3100: the small dialog that waits, with a Cancel, for the controller to report
// "Petrol" before an upgrade.

#include "resources/dialog_template.h"

namespace zav {

inline constexpr int kPetrolWaitTemplateId = 3100;
inline constexpr int kPetrolWaitText = 3101;
inline constexpr int kPetrolWaitCancelButton = 3102;

const DialogTemplate& PetrolWaitTemplate();

}  // namespace zav
