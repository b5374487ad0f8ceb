#include "hosts/qt/qt_calibration_host.h"

namespace zav::qt {

QtCalibrationHost::~QtCalibrationHost() {
  delete window_.data();
}

void QtCalibrationHost::ShowCalibration(CalibrationActions actions) {
  if (!window_) {
    window_ = new CalibrationWindow(std::move(actions), owner_ ? owner_() : nullptr);
  } else {
    window_->SetActions(std::move(actions));
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace zav::qt
