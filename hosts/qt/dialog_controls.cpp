#include "hosts/qt/dialog_controls.h"

#include "hosts/qt/caption_room.h"
#include "hosts/qt/control_factory.h"

namespace zav::qt {

DialogControls::DialogControls(const DialogTemplate& dialog, QWidget* client,
                               const DeliverEvent& deliver, BaseUnits units) {
  for (const ControlTemplate& control : dialog.controls) {
    const int room = RoomBelow(dialog.controls, control, dialog.rect.height);
    widgets_[control.id] = CreateControl(control, client, deliver, units, room);
  }
}

QWidget* DialogControls::Widget(int controlId) const {
  const auto found = widgets_.find(controlId);
  return found == widgets_.end() ? nullptr : found->second;
}

}  // namespace zav::qt
