#include "resources/transfer_template.h"

#include <array>

namespace zav {

namespace {
constexpr std::array kTransferControls{
    ControlTemplate{kTransferProgressBar, ControlKind::ProgressBar, {6, 11, 264, 6}, ""},
    ControlTemplate{kTransferCancelButton, ControlKind::PushButton, {102, 33, 60, 11}, "Cancel"},
};
}  // namespace

const DialogTemplate& TransferTemplate() {
  static const DialogTemplate kTemplate{
      .id = kTransferTemplateId,
      .title = "Communicate with AZV",
      .rect = {6, 6, 277, 51},
      .minimizeBox = true,
      .maximizeBox = true,
      .sizingBorder = true,
      .menuId = 0,
      .controls = kTransferControls,
  };
  return kTemplate;
}

}  // namespace zav
