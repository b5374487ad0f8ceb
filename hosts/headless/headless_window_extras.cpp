// The status line and added menu items on the headless host: recorded per dialog, and
// chosen or clicked by the script like any other command.

#include <algorithm>
#include <string>

#include "hosts/headless/headless_desktop.h"

namespace zav::headless {

const AddedMenuItem* DialogRecord::AddedItem(int commandId) const {
  const auto found =
      std::find_if(addedItems.begin(), addedItems.end(),
                   [commandId](const auto& item) { return item.commandId == commandId; });
  return found == addedItems.end() ? nullptr : &*found;
}

void HeadlessDesktop::ChooseAddedItem(int templateId, int commandId) {
  const DialogRecord* record = NewestOpen(templateId);
  const AddedMenuItem* item = record != nullptr ? record->AddedItem(commandId) : nullptr;
  if (item == nullptr || !item->enabled) {
    throw ScriptError("choose " + std::to_string(commandId) + ": no such enabled item in dialog " +
                      std::to_string(templateId));
  }
  Press(templateId, commandId);
}

void HeadlessDesktop::ClickStatusLine(int templateId) {
  const DialogRecord* record = NewestOpen(templateId);
  if (record == nullptr || !record->statusLine) {
    throw ScriptError("click: dialog " + std::to_string(templateId) + " shows no status line");
  }
  Press(templateId, kStatusLineClicked);
}

void HeadlessDesktop::SetStatusLine(WindowRef window, std::string_view text) {
  DialogRecord& record = Record(window);
  record.statusLine = std::string(text);
  ++record.statusLineUpdates;
}

void HeadlessDesktop::SetStatusSegments(WindowRef window, std::span<const std::string> segments) {
  Record(window).statusSegments.assign(segments.begin(), segments.end());
  Desktop::SetStatusSegments(window, segments);
}

void HeadlessDesktop::AddMenuItem(WindowRef window, std::string_view menuTitle, int commandId,
                                  std::string_view text) {
  AddedMenuItem item{std::string(menuTitle), commandId};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;  // "&&" is a '&' shown; '&' and a letter mark the mnemonic
      if (text[i] != '&' && item.mnemonic == '\0') {
        item.mnemonic = text[i];
      }
    }
    item.text += text[i];
  }
  Record(window).addedItems.push_back(std::move(item));
}

void HeadlessDesktop::SetMenuItemKey(WindowRef window, int commandId, std::string_view key) {
  AddedItemOf(window, commandId).key = std::string(key);
}

void HeadlessDesktop::SetMenuItemChecked(WindowRef window, int commandId, bool checked) {
  AddedItemOf(window, commandId).checked = checked;
}

void HeadlessDesktop::SetMenuItemEnabled(WindowRef window, int commandId, bool enabled) {
  AddedItemOf(window, commandId).enabled = enabled;
}

AddedMenuItem& HeadlessDesktop::AddedItemOf(WindowRef window, int commandId) {
  DialogRecord& record = Record(window);
  for (AddedMenuItem& item : record.addedItems) {
    if (item.commandId == commandId) {
      return item;
    }
  }
  throw ScriptError("dialog " + std::to_string(record.templateId) + " has no added item " +
                    std::to_string(commandId));
}

}  // namespace zav::headless
