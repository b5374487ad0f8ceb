#include "resources/calibrate_template.h"

#include <array>

namespace zav {

namespace {
constexpr std::array kCalibrateControls{
    Control(kCalibratePetrolLabel, ControlKind::UnitLabel, 4, 4, 56, 13, "Drive on petrol:"),
    Control(kCalibratePetrolLog, ControlKind::NameEdit, 62, 4, 462, 13),
    Control(kCalibratePetrolChoose, ControlKind::PushButton, 528, 4, 50, 13, "Choose\u2026"),
    Control(kCalibratePetrolRecord, ControlKind::PushButton, 582, 4, 70, 13, "Record on petrol"),
    Control(kCalibrateGasLabel, ControlKind::UnitLabel, 4, 20, 56, 13, "Drive on gas:"),
    Control(kCalibrateGasLog, ControlKind::NameEdit, 62, 20, 462, 13),
    Control(kCalibrateGasChoose, ControlKind::PushButton, 528, 20, 50, 13, "Choose\u2026"),
    Control(kCalibrateGasRecord, ControlKind::PushButton, 582, 20, 70, 13, "Record on gas"),
    Control(kCalibrateSwitch, ControlKind::PushButton, 656, 4, 60, 29, "Switch"),
    Control(kCalibrateGuidance, ControlKind::Label, 4, 38, 712, 26),
    Control(kCalibrateMessage, ControlKind::Label, 4, 66, 712, 34),
    Control(kCalibrateTable, ControlKind::Table, 4, 102, 458, 150),
    // The proposal's columns (trackbar, factors, "Y axis") line up in a fixed-pitch font.
    FixedPitch(Control(kCalibrateVerdict, ControlKind::Label, 4, 256, 458, 66)),
    Control(kCalibrateApply, ControlKind::PushButton, 4, 324, 90, 14, "Apply to Parameters\u2026"),
    Control(kCalibrateChart, ControlKind::CanvasControl, 466, 102, 250, 236),
};
}  // namespace

const DialogTemplate& CalibrateTemplate() {
  static const DialogTemplate kTemplate{
      .id = kCalibrateTemplateId,
      .title = "Calibrate",
      .rect = {30, 30, 720, 342},
      .minimizeBox = true,
      .maximizeBox = true,
      .sizingBorder = true,
      .menuId = 0,
      .controls = kCalibrateControls,
  };
  return kTemplate;
}

}  // namespace zav
