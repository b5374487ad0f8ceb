// The in-memory dialog template read back as the Windows API reads it: the header, the
// dialog font, one item per control, each on a DWORD bound with the class of its kind, and
// group boxes first so that they lie behind what they frame; the toolbar's tooltips.
#include "hosts/win32/dialog_memory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hosts/win32/window_menus.h"
#include "resources/main_template.h"
#include "resources/menu.h"

namespace zav {
namespace {

struct ReadItem {
  DWORD style = 0;
  int id = 0;
  int x = 0;
  std::uint16_t atom = 0;  // 0 when the class is named
  std::wstring className;
};

class TemplateReader {
 public:
  explicit TemplateReader(const win32::TemplateWords& words) : words_(words) {}
  std::uint16_t Word() { return words_.at(at_++); }
  DWORD Double() {
    const DWORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
  }
  std::wstring Text() {
    std::wstring text;
    while (const std::uint16_t unit = Word()) {
      text += static_cast<wchar_t>(unit);
    }
    return text;
  }
  bool OnDoubleBound() const { return at_ % 2 == 0; }
  void SkipToDoubleBound() { at_ += at_ % 2; }

 private:
  const win32::TemplateWords& words_;
  std::size_t at_ = 0;
};

ReadItem ReadOneItem(TemplateReader& in) {
  ReadItem item;
  in.Double();  // help id
  in.Double();  // extended style
  item.style = in.Double();
  item.x = static_cast<std::int16_t>(in.Word());
  in.Word();
  in.Word();
  in.Word();
  item.id = static_cast<int>(in.Double());
  if (const std::uint16_t first = in.Word(); first == 0xFFFF) {
    item.atom = in.Word();
  } else {
    item.className = static_cast<wchar_t>(first) + in.Text();
  }
  in.Text();  // the fixed text
  in.Word();  // creation data
  return item;
}

TEST(Win32DialogMemory, TheMainTemplateReadsBackWithEveryControlOnADoubleBound) {
  const DialogTemplate& main = MainTemplate();
  const win32::TemplateWords words = win32::DialogTemplateWords(main, true);
  TemplateReader in(words);
  EXPECT_EQ(in.Word(), 1);
  EXPECT_EQ(in.Word(), 0xFFFF);
  in.Double();
  EXPECT_EQ(in.Double(), static_cast<DWORD>(WS_EX_APPWINDOW)) << "an owner-less window";
  EXPECT_NE(in.Double() & DS_SETFONT, 0u);
  ASSERT_EQ(in.Word(), main.controls.size());
  for (int i = 0; i < 4; ++i) {
    in.Word();  // x, y, width, height
  }
  EXPECT_EQ(in.Word(), 0) << "no menu resource: the menu is set on the window";
  EXPECT_EQ(in.Word(), 0) << "the dialog class";
  in.Text();  // the title
  EXPECT_EQ(in.Word(), 8) << "points";
  in.Word();
  in.Word();
  EXPECT_EQ(in.Text(), L"MS Shell Dlg");

  std::vector<ReadItem> items;
  for (std::size_t i = 0; i < main.controls.size(); ++i) {
    in.SkipToDoubleBound();
    ASSERT_TRUE(in.OnDoubleBound());
    items.push_back(ReadOneItem(in));
  }
  bool pastGroups = false;
  for (const ReadItem& item : items) {
    const bool group = item.atom == 0x0080 && (item.style & BS_GROUPBOX) == BS_GROUPBOX;
    EXPECT_FALSE(group && pastGroups) << "group box " << item.id << " after other controls";
    pastGroups = pastGroups || !group;
  }
  for (const ControlTemplate& control : main.controls) {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const ReadItem& item) { return item.id == control.id; });
    ASSERT_NE(found, items.end()) << "control " << control.id;
    EXPECT_EQ(found->x, control.rect.x) << "control " << control.id;
    if (control.kind == ControlKind::DropDownList) {
      EXPECT_EQ(found->atom, 0x0085);
      EXPECT_EQ(found->style & 0x3u, static_cast<DWORD>(CBS_DROPDOWNLIST));
    } else if (control.kind == ControlKind::Toolbar) {
      EXPECT_EQ(found->className, L"ToolbarWindow32");
    } else if (control.kind == ControlKind::ValueEdit) {
      EXPECT_EQ(found->atom, 0x0081);
      EXPECT_NE(found->style & ES_READONLY, 0u);
      EXPECT_EQ(found->style & WS_TABSTOP, 0u) << "Tab passes the read-only values";
    }
  }
}

TEST(Win32DialogMemory, ToolbarTipsNameTheCommandAndItsKey) {
  EXPECT_EQ(win32::ToolbarTipOf(kCommandOpen), "Open (Ctrl+O)");
  EXPECT_EQ(win32::ToolbarTipOf(kCommandReadFromZav), "Read from ZAV (Ctrl+R)");
  EXPECT_EQ(win32::ToolbarTipOf(kCommandEdit), "Edit");
}

}  // namespace
}  // namespace zav
