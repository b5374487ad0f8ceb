#pragma once
// Dialog templates as plain data: what each window holds, where, and how it looks.
// Positions and sizes are dialog units; the hosts convert them to pixels.

#include <span>
#include <string_view>

namespace zav {

struct DialogRect {
  int x = 0;  // dialog units
  int y = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind {
  ValueEdit,    // read-only, right-aligned, sunken edge
  StatusEdit,   // read-only, centred, sunken edge
  NameEdit,     // read-only, left-aligned, sunken edge
  InputEdit,    // editable number field
  ProgressBar,  // smooth bar
  Label,        // static text, left-aligned
  UnitLabel,    // static text, left-aligned, vertically centred
  FieldLabel,   // static text, centred both ways
  GroupBox,
  DropDownList,  // choose-only combobox
  PushButton,
  Toolbar,
  VerticalSlider,  // trackbar
  // For charts: a surface the dialog's procedure draws on, which also gets resizes, wheel
  // turns, clicks and keys; a check box; a horizontal scroll bar; a read-only table.
  // A canvas control grows with a resizable window: its right and bottom edges keep their
  // distance from the client area's; a scroll bar under it keeps its distance from the
  // bottom and grows in width.
  CanvasControl,
  CheckBox,
  HorizontalScrollBar,
  Table,
};

struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  DialogRect rect;
  std::string_view text;  // fixed text; most captions are assigned at run time
  // Text in the desktop's fixed-pitch font, so that columns of a text line up.
  bool fixedPitch = false;
};

// The control in the desktop's fixed-pitch font.
constexpr ControlTemplate FixedPitch(ControlTemplate control) {
  control.fixedPitch = true;
  return control;
}

// A control of a template: id, kind, rectangle (dialog units) and fixed text.
constexpr ControlTemplate Control(int id, ControlKind kind, int x, int y, int width, int height,
                                  std::string_view text = "") {
  return {id, kind, {x, y, width, height}, text, false};
}

struct DialogTemplate {
  int id = 0;
  std::string_view title;
  DialogRect rect;
  bool minimizeBox = false;
  bool maximizeBox = false;
  bool sizingBorder = false;
  int menuId = 0;  // 0: no menu
  std::span<const ControlTemplate> controls;
  // The box of a picture the dialog's procedure draws at fixed pixel positions (laid out for
  // the font the template was made in); empty when it draws none.
  DialogRect fixedPixelPicture;
};

}  // namespace zav
