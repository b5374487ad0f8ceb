#include "resources/petrol_wait_template.h"

#include <array>

namespace zav {

namespace {
constexpr std::array kPetrolWaitControls{
    Control(kPetrolWaitText, ControlKind::Label, 6, 8, 228, 20),
    Control(kPetrolWaitCancelButton, ControlKind::PushButton, 90, 33, 60, 11, "Cancel"),
};
}  // namespace

const DialogTemplate& PetrolWaitTemplate() {
  static const DialogTemplate kTemplate{
      .id = kPetrolWaitTemplateId,
      .title = "Switching to petrol",
      .rect = {6, 6, 240, 51},
      .minimizeBox = false,
      .maximizeBox = false,
      .sizingBorder = false,
      .menuId = 0,
      .controls = kPetrolWaitControls,
  };
  return kTemplate;
}

}  // namespace zav
