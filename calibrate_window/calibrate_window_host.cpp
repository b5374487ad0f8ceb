#include "calibrate_window/calibrate_window_host.h"

namespace zav {

void CalibrateWindowHost::ShowCalibration(CalibrationActions actions) {
  state_->actions = std::move(actions);
  if (state_->open) {
    desktop_.RaiseWindow(state_->window);
    return;
  }
  OpenCalibrateWindow(desktop_, owner_ ? owner_() : WindowRef{}, state_);
}

}  // namespace zav
