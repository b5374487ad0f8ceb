#include "hosts/win32/dialog_memory.h"

#include <windows.h>
//
#include <commctrl.h>

#include <string_view>

#include "hosts/win32/canvas_control_class.h"
#include "platform/files/wide_text.h"

namespace zav::win32 {
namespace {

constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;
constexpr std::uint16_t kScrollBarAtom = 0x0084;
constexpr std::uint16_t kComboBoxAtom = 0x0085;

struct ItemLook {
  std::uint16_t atom = 0;  // a predefined class, or 0 for `className`
  const wchar_t* className = L"";
  DWORD style = 0;
  DWORD extendedStyle = 0;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kReadOnlyEdit = kChild | ES_READONLY | ES_AUTOHSCROLL;

// Read-only values are no tab stops: Tab goes from one thing the fitter can change to the
// next. Static texts show '&' as it is.
ItemLook LookOf(ControlKind kind) {
  using K = ControlKind;
  switch (kind) {
    case K::ValueEdit:
      return {kEditAtom, L"", kReadOnlyEdit | ES_RIGHT, WS_EX_CLIENTEDGE};
    case K::StatusEdit:
      return {kEditAtom, L"", kReadOnlyEdit | ES_CENTER, WS_EX_CLIENTEDGE};
    case K::NameEdit:
      return {kEditAtom, L"", kReadOnlyEdit | ES_LEFT, WS_EX_CLIENTEDGE};
    case K::InputEdit:
      return {kEditAtom, L"", kChild | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case K::ProgressBar:
      return {0, PROGRESS_CLASSW, kChild | PBS_SMOOTH, WS_EX_CLIENTEDGE};
    case K::Label:
      return {kStaticAtom, L"", kChild | SS_LEFT | SS_NOPREFIX, 0};
    case K::UnitLabel:
      return {kStaticAtom, L"", kChild | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case K::FieldLabel:
      return {kStaticAtom, L"", kChild | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case K::GroupBox:
      return {kButtonAtom, L"", kChild | BS_GROUPBOX, 0};
    case K::DropDownList:
      return {kComboBoxAtom, L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case K::PushButton:
      return {kButtonAtom, L"", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case K::Toolbar:
      return {0, TOOLBARCLASSNAMEW,
              kChild | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_FLAT |
                  TBSTYLE_TOOLTIPS,
              0};
    case K::VerticalSlider:
      return {0, TRACKBAR_CLASSW, kChild | WS_TABSTOP | TBS_VERT | TBS_BOTH | TBS_NOTICKS, 0};
    case K::CanvasControl:  // the dialog's procedure draws it in its Paint event
      return {0, win32::kCanvasControlClass, kChild | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case K::CheckBox:
      return {kButtonAtom, L"", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case K::HorizontalScrollBar:
      return {kScrollBarAtom, L"", kChild | WS_TABSTOP | SBS_HORZ, 0};
    case K::Table:  // read-only: the rows as lines of text
      return {kEditAtom, L"",
              kChild | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                  ES_AUTOHSCROLL,
              WS_EX_CLIENTEDGE};
  }
  return {kStaticAtom, L"", kChild, 0};
}

class WordWriter {
 public:
  explicit WordWriter(TemplateWords& words) : words_(words) {}
  void Word(std::uint16_t value) { words_.push_back(value); }
  void Double(DWORD value) {
    Word(static_cast<std::uint16_t>(value & 0xFFFF));
    Word(static_cast<std::uint16_t>(value >> 16));
  }
  void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
  void Text(std::wstring_view text) {
    for (const wchar_t unit : text) {
      Word(static_cast<std::uint16_t>(unit));
    }
    Word(0);
  }
  void AlignToDouble() {
    if (words_.size() % 2 != 0) {
      Word(0);
    }
  }
  void Rect(const DialogRect& rect) {
    Short(rect.x);
    Short(rect.y);
    Short(rect.width);
    Short(rect.height);
  }

 private:
  TemplateWords& words_;
};

void WriteItem(WordWriter& out, const ControlTemplate& control) {
  const ItemLook look = LookOf(control.kind);
  out.AlignToDouble();
  out.Double(0);  // help id
  out.Double(look.extendedStyle);
  out.Double(look.style);
  out.Rect(control.rect);
  out.Double(static_cast<DWORD>(control.id));
  if (look.atom != 0) {
    out.Word(0xFFFF);
    out.Word(look.atom);
  } else {
    out.Text(look.className);
  }
  out.Text(Widen(control.text));
  out.Word(0);  // no creation data
}

}  // namespace

unsigned long DialogStyle(const DialogTemplate& dialog) {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SHELLFONT | DS_MODALFRAME;
  style |= dialog.minimizeBox ? WS_MINIMIZEBOX : 0;
  style |= dialog.maximizeBox ? WS_MAXIMIZEBOX : 0;
  style |= dialog.sizingBorder ? WS_THICKFRAME : 0;
  return style;
}

TemplateWords DialogTemplateWords(const DialogTemplate& dialog, bool ownerless, int fontPoints) {
  TemplateWords words;
  WordWriter out(words);
  out.Word(1);       // DLGTEMPLATEEX
  out.Word(0xFFFF);  // its signature
  out.Double(0);     // help id
  out.Double(ownerless ? WS_EX_APPWINDOW : 0);
  out.Double(DialogStyle(dialog));
  out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
  out.Rect(dialog.rect);
  out.Word(0);  // the menu is set once the window exists
  out.Word(0);  // the dialog class
  out.Text(Widen(dialog.title));
  out.Word(static_cast<std::uint16_t>(fontPoints));
  out.Word(FW_NORMAL);
  out.Word(0x0100);  // not italic (low byte), the default character set (high byte)
  out.Text(kDialogFontName);
  // Group boxes first: they are drawn behind what they frame, whatever the template order.
  for (const ControlTemplate& control : dialog.controls) {
    if (control.kind == ControlKind::GroupBox) {
      WriteItem(out, control);
    }
  }
  for (const ControlTemplate& control : dialog.controls) {
    if (control.kind != ControlKind::GroupBox) {
      WriteItem(out, control);
    }
  }
  return words;
}

}  // namespace zav::win32
