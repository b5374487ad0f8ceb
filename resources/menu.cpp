#include "resources/menu.h"

#include <array>

namespace zav {

namespace {

constexpr std::array kFileItems{
    MenuItem{"Open", kCommandOpen},
    MenuItem{"Save", kCommandSave},
    MenuItem{"Edit", kCommandEdit},
};
constexpr std::array kZavItems{
    MenuItem{"Read from ZAV", kCommandReadFromZav},
    MenuItem{"Set ZAV", kCommandSetZav},
    MenuItem{"Show errors", kCommandShowErrors},
    MenuItem{"Default values", kCommandDefaultValues},
    MenuItem{"Upgrade", kCommandUpgrade},
};
constexpr std::array kInfoItems{
    MenuItem{"ZAV version", kCommandZavVersion},
};
constexpr std::array kMainMenus{
    Menu{"File", kFileItems},
    Menu{"ZAV", kZavItems},
    Menu{"Info", kInfoItems},
};

// Opened folder, diskette, green chip, blue chip, spanner and screwdriver.
constexpr std::array kMainToolbar{
    ToolbarButton{0, kCommandOpen},        ToolbarButton{1, kCommandSave},
    ToolbarButton{2, kCommandReadFromZav}, ToolbarButton{3, kCommandSetZav},
    ToolbarButton{4, kCommandEdit},
};

}  // namespace

std::span<const Menu> MenuBar(int menuId) {
  if (menuId == kMainMenuId) {
    return kMainMenus;
  }
  return {};
}

std::span<const ToolbarButton> MainToolbarButtons() {
  return kMainToolbar;
}

}  // namespace zav
