#pragma once
// Menu 10000 of the main window and the buttons of its toolbar: plain data.

#include <span>
#include <string_view>

namespace zav {

inline constexpr int kMainMenuId = 10000;

// Command ids of the menu items and toolbar buttons.
inline constexpr int kCommandOpen = 10003;
inline constexpr int kCommandSave = 10004;
inline constexpr int kCommandReadFromZav = 10005;
inline constexpr int kCommandSetZav = 10006;
inline constexpr int kCommandShowErrors = 10007;
inline constexpr int kCommandEdit = 10010;
inline constexpr int kCommandUpgrade = 10011;
inline constexpr int kCommandDefaultValues = 10012;
inline constexpr int kCommandZavVersion = 10013;

struct MenuItem {
  std::string_view text;
  int commandId = 0;
};

struct Menu {
  std::string_view title;
  std::span<const MenuItem> items;
};

// The drop-down menus of a menu resource, left to right; empty for an unknown id.
std::span<const Menu> MenuBar(int menuId);

struct ToolbarButton {
  int image = 0;  // index into the toolbar's strip of 16 x 16 images
  int commandId = 0;
};

inline constexpr int kToolbarImageSize = 16;  // pixels, square
inline constexpr int kToolbarImageCount = 5;

std::span<const ToolbarButton> MainToolbarButtons();

}  // namespace zav
