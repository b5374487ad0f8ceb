#pragma once
// Buttons of a dialog's toolbar: a 16 x 16 image from the program's toolbar strip, no text;
// a click sends the dialog a command with the button's id.

#include <QIcon>
#include <span>

#include "hosts/qt/event_delivery.h"
#include "resources/menu.h"

class QToolBar;

namespace zav::qt {

// Image `index` of the strip (0 to kToolbarImageCount - 1); a null icon for any other index.
QIcon ToolbarImage(int index);

QToolBar* CreateToolbar(QWidget* parent);
void AddToolbarButtons(QToolBar& toolbar, std::span<const ToolbarButton> buttons,
                       const DeliverEvent& deliver);

}  // namespace zav::qt
