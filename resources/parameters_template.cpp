#include "resources/parameters_template.h"

#include <array>

namespace zav {

namespace {

using K = ControlKind;

constexpr int kEditWidth = 42;     // dialog units
constexpr int kCaptionWidth = 66;  // dialog units
constexpr int kRowHeight = 11;     // dialog units

constexpr ControlTemplate Edit(int id, int x, int y) {
  return Control(id, K::InputEdit, x, y, kEditWidth, kRowHeight);
}
constexpr ControlTemplate Caption(int id, int x, int y) {
  return Control(id, K::Label, x, y, kCaptionWidth, kRowHeight);
}

// In this order the edits come first in the tab order (2030 "Delay" takes the focus), then
// the "Ok" button; the trackbars are no tab stops. Captions come at run time; the unit and
// scale labels carry fixed texts.
constexpr std::array kParametersControls{
    Control(kLeftTrackbar, K::VerticalSlider, 174, 99, 18, 105),
    Control(kRightTrackbar, K::VerticalSlider, 360, 99, 18, 105),
    Edit(2030, 78, 72),
    Edit(2031, 78, 83),
    Edit(2032, 240, 27),
    Edit(2033, 240, 38),
    Edit(2034, 78, 121),
    Edit(2035, 78, 132),
    Edit(2036, 78, 144),
    Edit(2037, 78, 160),
    Edit(2038, 78, 171),
    Edit(2039, 78, 188),
    Edit(2040, 78, 49),
    Edit(2041, 78, 38),
    Edit(2042, 78, 27),
    Caption(2001, 12, 188),
    Caption(2002, 12, 171),
    Caption(2003, 12, 160),
    Caption(2004, 12, 144),
    Caption(2005, 12, 132),
    Caption(2006, 12, 121),
    Caption(2007, 174, 38),
    Caption(2008, 174, 27),
    Caption(2009, 12, 83),
    Caption(2010, 12, 72),
    Caption(2011, 12, 49),
    Caption(2012, 12, 38),
    Caption(2013, 12, 27),
    Control(2014, K::GroupBox, 6, 5, 150, 94),
    Control(2015, K::GroupBox, 162, 11, 150, 50),
    Control(2016, K::GroupBox, 6, 110, 150, 100),
    Control(2017, K::UnitLabel, 126, 171, 12, 11, "us"),
    Control(2018, K::UnitLabel, 288, 38, 18, 11, "ms"),
    Control(2019, K::UnitLabel, 288, 27, 18, 11, "mBar"),
    Control(2020, K::UnitLabel, 126, 83, 12, 11, "us"),
    Control(2021, K::UnitLabel, 126, 72, 12, 11, "ms"),
    Control(2022, K::UnitLabel, 126, 49, 18, 11, "mBar"),
    Control(2023, K::UnitLabel, 126, 38, 18, 11, "mBar"),
    Control(2024, K::UnitLabel, 126, 27, 18, 11, "°C"),
    Control(kParametersOkButton, K::PushButton, 336, 22, 54, 11, "Ok"),
    Control(2025, K::Label, 384, 105, 24, 11, "1,5"),
    Control(2026, K::Label, 384, 193, 24, 11, "1"),
    Control(2027, K::Label, 198, 105, 12, 11, "2,5"),
    Control(2028, K::Label, 198, 193, 12, 11, "1,5"),
};

}  // namespace

const DialogTemplate& ParametersTemplate() {
  static const DialogTemplate kTemplate{
      .id = kParametersTemplateId,
      .title = "Parameters",
      .rect = {6, 5, 410, 219},
      .minimizeBox = false,
      .maximizeBox = false,
      .sizingBorder = false,
      .menuId = 0,
      .controls = kParametersControls,
      // Between the left trackbar's scale labels and the right trackbar: the formula chart.
      .fixedPixelPicture = {210, 94, 144, 117},
  };
  return kTemplate;
}

}  // namespace zav
