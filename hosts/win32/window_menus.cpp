#include "hosts/win32/window_menus.h"

#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/wide_text.h"
#include "resources/menu.h"

namespace zav::win32 {
namespace {

struct CommandKey {
  int commandId = 0;
  const char* key = "";
};

constexpr std::array kCommandKeys{
    CommandKey{kCommandOpen, "Ctrl+O"},
    CommandKey{kCommandSave, "Ctrl+S"},
    CommandKey{kCommandReadFromZav, "Ctrl+R"},
};

// A text shown as it stands: each '&' doubled, so that it is a character and no mnemonic.
std::string ItemText(std::string_view text) {
  std::string shown;
  for (const char byte : text) {
    shown += byte == '&' ? std::string_view("&&") : std::string_view(&byte, 1);
  }
  return shown;
}

// "&File": Alt and the title's first letter open the menu; a '&' of the title itself shows.
std::wstring TitleWithMnemonic(std::string_view title) {
  return L"&" + Widen(ItemText(title));
}

// "F1" to "F12" and "Ctrl+<letter or digit>"; nothing for other keys.
std::optional<ACCEL> AccelOf(std::string_view key, int commandId) {
  ACCEL accel{};
  accel.fVirt = FVIRTKEY;
  accel.cmd = static_cast<WORD>(commandId);
  if (key.starts_with("Ctrl+")) {
    accel.fVirt |= FCONTROL;
    key.remove_prefix(5);
  }
  if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0])) != 0) {
    accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(key[0])));
    return accel;
  }
  if (key.size() >= 2 && key[0] == 'F') {
    int number = 0;
    const std::string_view digits = key.substr(1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error == std::errc{} && end == digits.data() + digits.size() && number >= 1 &&
        number <= 12) {
      accel.key = static_cast<WORD>(VK_F1 + number - 1);
      return accel;
    }
  }
  return std::nullopt;
}

std::string MenuTextOf(int commandId) {
  for (const Menu& menu : MenuBar(kMainMenuId)) {
    for (const MenuItem& item : menu.items) {
      if (item.commandId == commandId) {
        return std::string(item.text);
      }
    }
  }
  return {};
}

}  // namespace

std::string FixedKeyOf(int commandId) {
  for (const CommandKey& entry : kCommandKeys) {
    if (entry.commandId == commandId) {
      return entry.key;
    }
  }
  return {};
}

std::string ToolbarTipOf(int commandId) {
  const std::string key = FixedKeyOf(commandId);
  const std::string text = MenuTextOf(commandId);
  return key.empty() ? text : text + " (" + key + ")";
}

WindowMenus::~WindowMenus() {
  if (accelerators_ != nullptr) {
    DestroyAcceleratorTable(accelerators_);
  }
  // The bar belongs to the window once set on it, and goes with the window.
}

void WindowMenus::Build(int menuId) {
  for (const Menu& menu : MenuBar(menuId)) {
    for (const MenuItem& item : menu.items) {
      // The resource's texts are shown as they stand: a `&` in them is a character.
      AddItem(menu.title, item.commandId, ItemText(item.text));
      if (const std::string key = FixedKeyOf(item.commandId); !key.empty()) {
        SetKey(item.commandId, key);
      }
    }
  }
}

HMENU WindowMenus::MenuTitled(std::string_view title) {
  if (const auto found = menus_.find(title); found != menus_.end()) {
    return found->second;
  }
  if (bar_ == nullptr) {
    bar_ = CreateMenu();
    barIsNew_ = true;
  }
  const HMENU menu = CreatePopupMenu();
  AppendMenuW(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
              TitleWithMnemonic(title).c_str());
  menus_.emplace(std::string(title), menu);
  return menu;
}

void WindowMenus::AddItem(std::string_view menuTitle, int commandId, std::string_view text) {
  const HMENU menu = MenuTitled(menuTitle);
  itemTexts_[commandId] = Widen(text);
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), itemTexts_[commandId].c_str());
  itemMenus_[commandId] = menu;
}

void WindowMenus::ShowKeyInItem(int commandId, std::string_view key) {
  const auto menu = itemMenus_.find(commandId);
  if (menu == itemMenus_.end()) {
    return;
  }
  const std::wstring text = itemTexts_[commandId] + L"\t" + Widen(key);
  ModifyMenuW(menu->second, static_cast<UINT>(commandId), MF_BYCOMMAND | MF_STRING,
              static_cast<UINT_PTR>(commandId), text.c_str());
}

void WindowMenus::SetKey(int commandId, std::string_view key) {
  const std::optional<ACCEL> accel = AccelOf(key, commandId);
  if (!accel) {
    return;
  }
  keys_.push_back(*accel);
  keysChanged_ = true;
  ShowKeyInItem(commandId, key);
}

void WindowMenus::SetChecked(int commandId, bool checked) {
  if (const auto menu = itemMenus_.find(commandId); menu != itemMenus_.end()) {
    CheckMenuItem(menu->second, static_cast<UINT>(commandId),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

void WindowMenus::SetEnabled(int commandId, bool enabled) {
  if (const auto menu = itemMenus_.find(commandId); menu != itemMenus_.end()) {
    EnableMenuItem(menu->second, static_cast<UINT>(commandId),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

HACCEL WindowMenus::Accelerators() {
  if (keysChanged_) {
    if (accelerators_ != nullptr) {
      DestroyAcceleratorTable(accelerators_);
      accelerators_ = nullptr;
    }
    if (!keys_.empty()) {
      accelerators_ = CreateAcceleratorTableW(keys_.data(), static_cast<int>(keys_.size()));
    }
    keysChanged_ = false;
  }
  return accelerators_;
}

}  // namespace zav::win32
