#pragma once
// The menu bar of a dialog from its menu resource: plain drop-down menus without mnemonics,
// separators or shortcuts; choosing an item sends the dialog a command with the item's id.

#include "hosts/qt/event_delivery.h"

class QMenuBar;
class QWidget;

namespace zav::qt {

// Kept inside the window (never a desktop-wide menu), so the client area starts right below.
QMenuBar* CreateMenuBar(int menuId, QWidget* parent, const DeliverEvent& deliver);

}  // namespace zav::qt
