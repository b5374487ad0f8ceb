#pragma once
// A window's menu bar: the template's menus from resources/ with a mnemonic on each title
// (Alt+F "File"), the items the program adds, and the keys of the items as an accelerator
// table (Ctrl+O, Ctrl+S, Ctrl+R and those the program gives, such as F1).

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zav::win32 {

// The key the main menu's command has of itself ("Ctrl+O"); empty when none.
std::string FixedKeyOf(int commandId);
// A toolbar button's tooltip: its menu item's text and key, "Open (Ctrl+O)".
std::string ToolbarTipOf(int commandId);

class WindowMenus {
 public:
  WindowMenus() = default;
  ~WindowMenus();
  WindowMenus(const WindowMenus&) = delete;
  WindowMenus& operator=(const WindowMenus&) = delete;

  // The menus of resource `menuId`; nothing when it is 0. The window keeps the menu bar.
  void Build(int menuId);
  HMENU Bar() const { return bar_; }
  // True when the bar was made by AddItem and must now be set on the window.
  bool BarIsNew() const { return barIsNew_; }
  void NoteBarSet() { barIsNew_ = false; }

  // `text` as Windows menus write it: a `&` marks the next letter as the mnemonic, "&&" is
  // one `&` (the Desktop's added items are written so).
  void AddItem(std::string_view menuTitle, int commandId, std::string_view text);
  void SetKey(int commandId, std::string_view key);
  void SetChecked(int commandId, bool checked);
  void SetEnabled(int commandId, bool enabled);
  // nullptr when no item has a key.
  HACCEL Accelerators();

 private:
  HMENU MenuTitled(std::string_view title);
  void ShowKeyInItem(int commandId, std::string_view key);

  HMENU bar_ = nullptr;
  bool barIsNew_ = false;
  std::map<std::string, HMENU, std::less<>> menus_;  // by title
  std::map<int, HMENU> itemMenus_;                   // the menu holding each item
  std::map<int, std::wstring> itemTexts_;            // without the key
  std::vector<ACCEL> keys_;
  HACCEL accelerators_ = nullptr;
  bool keysChanged_ = true;
};

}  // namespace zav::win32
