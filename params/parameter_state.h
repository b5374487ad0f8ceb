#pragma once
// What the parameter part knows beside the register image: the set the controller
// confirmed, and whether the image's parameters came from anywhere in this run (read from
// the controller, loaded from a file, "Default values"). Until they do, the image holds the
// zeros of the start; a write of them would put zeros into the controller.

#include "params/controller_set.h"

namespace zav {

struct ParameterState {
  ControllerSet confirmedSet;
  bool imageHasSource = false;  // read, written, loaded from a file or set to defaults
};

// The poll tick's hooks for completed reads and writes keep the confirmed set.
void BindControllerSet(ParameterState& state, Link& link);

}  // namespace zav
