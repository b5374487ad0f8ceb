#pragma once
// One control of a dialog template as a widget of the dialog's client area, placed at its
// rect (dialog units converted to pixels) and looking as its kind asks.

#include "hosts/qt/dialog_units.h"
#include "hosts/qt/event_delivery.h"
#include "resources/dialog_template.h"

class QWidget;

namespace zav::qt {

// The widget is a child of `client`, its rect converted with `units`; `deliver` takes what
// the user does with it. A static text may grow down to `roomHeight` (dialog units, see
// caption_room.h) when its caption needs it.
QWidget* CreateControl(const ControlTemplate& control, QWidget* client, const DeliverEvent& deliver,
                       BaseUnits units, int roomHeight);

}  // namespace zav::qt
