#include "resources/scatter_template.h"

#include <array>

namespace zav {

namespace {
// 436 by 320 dialog units (763 by 560 px in a 9-point font): the legend beside the plot
// keeps its room.
constexpr std::array kScatterControls{
    Control(kScatterPlotList, ControlKind::DropDownList, 4, 4, 90, 40),
    Control(kScatterSaveButton, ControlKind::PushButton, 366, 4, 66, 13, "Save as PNG\u2026"),
    Control(kScatterCanvas, ControlKind::CanvasControl, 4, 21, 428, 295),
};
}  // namespace

const DialogTemplate& ScatterTemplate() {
  static const DialogTemplate kTemplate{
      .id = kScatterTemplateId,
      .title = "Petrol against gas",
      .rect = {30, 30, 436, 320},
      .minimizeBox = true,
      .maximizeBox = true,
      .sizingBorder = true,
      .menuId = 0,
      .controls = kScatterControls,
  };
  return kTemplate;
}

}  // namespace zav
