#pragma once
// The Calibrate window on any desktop: one at a time, opened beside the main window, raised
// when it is open, and opened again on the same state (logs, the recording it started) once
// it was closed.

#include <functional>
#include <memory>

#include "calibrate_window/calibrate_window.h"
#include "calibration/calibration_host.h"

namespace zav {

class CalibrateWindowHost final : public CalibrationHost {
 public:
  // `owner` gives the main window when the window opens.
  CalibrateWindowHost(Desktop& desktop, std::function<WindowRef()> owner)
      : desktop_(desktop), owner_(std::move(owner)) {}

  void ShowCalibration(CalibrationActions actions) override;
  // The window's state, for tests.
  const CalibrateWindow& State() const { return *state_; }

 private:
  Desktop& desktop_;
  std::function<WindowRef()> owner_;
  std::shared_ptr<CalibrateWindow> state_ = std::make_shared<CalibrateWindow>();
};

}  // namespace zav
