#pragma once
// The controls of one dialog, by their numeric ids. An id the template does not hold, or a
// control of another kind than asked for, gives nullptr: operations on it do nothing, as the
// platform's calls on a missing control do.

#include <map>
#include <span>

#include "hosts/qt/dialog_units.h"
#include "hosts/qt/event_delivery.h"
#include "resources/dialog_template.h"

class QWidget;

namespace zav::qt {

class DialogControls {
 public:
  // Creates every control of the template as a child of `client`, in template order (which
  // is also the tab order), placed in `units`.
  DialogControls(const DialogTemplate& dialog, QWidget* client, const DeliverEvent& deliver,
                 BaseUnits units);

  QWidget* Widget(int controlId) const;

  template <typename Kind>
  Kind* As(int controlId) const {
    return dynamic_cast<Kind*>(Widget(controlId));
  }

 private:
  std::map<int, QWidget*> widgets_;  // owned by the client area
};

}  // namespace zav::qt
