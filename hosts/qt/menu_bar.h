#pragma once
// The menu bar of a dialog from its menu resource: plain drop-down menus without separators;
// each title has its first letter as mnemonic, the commonest items a key (keyboard.h), and
// F10 opens the bar. Choosing an item sends the dialog a command with the item's id.

#include "hosts/qt/event_delivery.h"

class QMenuBar;
class QWidget;

namespace zav::qt {

// Kept inside the window (never a desktop-wide menu), so the client area starts right below.
QMenuBar* CreateMenuBar(int menuId, QWidget* parent, const DeliverEvent& deliver);

}  // namespace zav::qt
