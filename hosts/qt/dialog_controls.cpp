#include "hosts/qt/dialog_controls.h"

#include "hosts/qt/control_factory.h"

namespace zav::qt {

DialogControls::DialogControls(std::span<const ControlTemplate> controls, QWidget* client,
                               const DeliverEvent& deliver) {
  for (const ControlTemplate& control : controls) {
    widgets_[control.id] = CreateControl(control, client, deliver);
  }
}

QWidget* DialogControls::Widget(int controlId) const {
  const auto found = widgets_.find(controlId);
  return found == widgets_.end() ? nullptr : found->second;
}

}  // namespace zav::qt
