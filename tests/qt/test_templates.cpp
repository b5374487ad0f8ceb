#include "tests/qt/test_templates.h"

#include <array>

#include "resources/menu.h"

namespace zav::test {

namespace {

using K = ControlKind;

// Rects in dialog units; the group box is listed after the controls it frames.
constexpr std::array kEveryKind{
    ControlTemplate{kToolbarId, K::Toolbar, {0, 0, 200, 17}, ""},
    ControlTemplate{kValueEditId, K::ValueEdit, {10, 30, 40, 11}, "1234"},
    ControlTemplate{kStatusEditId, K::StatusEdit, {10, 45, 60, 11}, "Petrol"},
    ControlTemplate{kNameEditId, K::NameEdit, {10, 60, 80, 11}, "Golf 1.6"},
    ControlTemplate{kInputEditId, K::InputEdit, {10, 75, 42, 11}, "599"},
    ControlTemplate{kProgressBarId, K::ProgressBar, {100, 30, 150, 10}, ""},
    ControlTemplate{kLabelId, K::Label, {100, 45, 30, 11}, "BA_1"},
    ControlTemplate{kUnitLabelId, K::UnitLabel, {135, 45, 18, 11}, "°C"},
    ControlTemplate{kFieldLabelId, K::FieldLabel, {160, 45, 42, 11}, "COM port"},
    ControlTemplate{kDropDownListId, K::DropDownList, {100, 60, 42, 100}, ""},
    ControlTemplate{kPushButtonId, K::PushButton, {100, 80, 60, 17}, "switch"},
    ControlTemplate{kVerticalSliderId, K::VerticalSlider, {260, 20, 18, 105}, ""},
    ControlTemplate{kLongCaptionId, K::Label, {10, 110, 48, 11}, kLongCaption},
    ControlTemplate{kGroupBoxId, K::GroupBox, {4, 22, 250, 80}, "Pressure"},
};

constexpr std::array kPlain{
    ControlTemplate{kPlainInputId, K::InputEdit, {10, 10, 42, 11}, ""},
    ControlTemplate{kPlainButtonId, K::PushButton, {60, 10, 54, 11}, "Ok"},
    ControlTemplate{kPlainSliderId, K::VerticalSlider, {174, 10, 18, 105}, ""},
};

}  // namespace

const DialogTemplate& EveryKindTemplate() {
  static const DialogTemplate kTemplate{
      .id = 4000,
      .title = "Every kind",
      .rect = {20, 20, 300, 130},
      .minimizeBox = true,
      .menuId = kMainMenuId,
      .controls = kEveryKind,
  };
  return kTemplate;
}

const DialogTemplate& PlainTemplate() {
  static const DialogTemplate kTemplate{
      .id = 4001,
      .title = "Plain",
      .rect = {6, 5, 410, 219},
      .controls = kPlain,
  };
  return kTemplate;
}

const DialogTemplate& ResizableTemplate() {
  static const DialogTemplate kTemplate{
      .id = 4002,
      .title = "Resizable",
      .rect = {6, 6, 277, 51},
      .minimizeBox = true,
      .maximizeBox = true,
      .sizingBorder = true,
  };
  return kTemplate;
}

}  // namespace zav::test
