#pragma once
// The Calibrate window on the Qt host: one at a time, owned by the main window so that it
// closes with it.

#include <QPointer>
#include <functional>

#include "calibration/calibration_host.h"
#include "hosts/qt/calibration_window.h"

namespace zav::qt {

class QtCalibrationHost : public CalibrationHost {
 public:
  // `owner` gives the main window's widget when the window opens.
  explicit QtCalibrationHost(std::function<QWidget*()> owner) : owner_(std::move(owner)) {}
  ~QtCalibrationHost() override;

  void ShowCalibration(CalibrationActions actions) override;
  CalibrationWindow* Window() const { return window_; }

 private:
  std::function<QWidget*()> owner_;
  QPointer<CalibrationWindow> window_;
};

}  // namespace zav::qt
