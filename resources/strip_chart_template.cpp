#include "resources/strip_chart_template.h"

#include <array>

namespace zav {

namespace {
constexpr std::array kStripChartControls{
    Control(kStripSpanList, ControlKind::DropDownList, 4, 4, 50, 60),
    Control(kStripPauseButton, ControlKind::PushButton, 58, 4, 44, 13, "Pause"),
    Control(kStripScatterButton, ControlKind::PushButton, 300, 4, 74, 13, "Petrol against gas"),
    Control(kStripSaveButton, ControlKind::PushButton, 378, 4, 66, 13, "Save as PNG\u2026"),
    Control(kStripCanvas, ControlKind::CanvasControl, 4, 21, 440, 240),
    Control(kStripScrollBar, ControlKind::HorizontalScrollBar, 4, 264, 440, 10),
};
}  // namespace

const DialogTemplate& StripChartTemplate() {
  static const DialogTemplate kTemplate{
      .id = kStripChartTemplateId,
      .title = "Live chart",
      .rect = {20, 20, 448, 278},
      .minimizeBox = true,
      .maximizeBox = true,
      .sizingBorder = true,
      .menuId = 0,
      .controls = kStripChartControls,
  };
  return kTemplate;
}

}  // namespace zav
