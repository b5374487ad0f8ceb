#pragma once
// The Calibrate window as the program asks for it, and what the window may ask of the
// program. The window is not modal and is drawn by a host that has windows; a tick never
// waits on it. Everything it does to the controller goes through the program: recording
// through the recorder, the proposal only into the Parameters dialog, which sends nothing
// until the fitter confirms.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "calibration/steady_samples.h"
#include "params/parameter_formula.h"
#include "params/parameter_set.h"

namespace zav {

struct CalibrationActions {
  // A log chosen in the program's open dialog; nothing when cancelled.
  std::function<std::optional<std::filesystem::path>(Fuel fuel)> chooseLog;
  // Starts a recording of the drive on `fuel` under a proposed name: the log's path, or a
  // message saying why it could not start. Stops a recording running for anything else.
  std::function<std::optional<std::filesystem::path>(Fuel fuel, std::string& failure)>
      startRecording;
  // Ends the recording; a message when that went wrong.
  std::function<std::optional<std::string>()> stopRecording;
  std::function<bool()> recording;
  // The operating state as the main window shows it ("Petrol", "Gas", ...); empty before
  // the first status.
  std::function<std::string()> operatingState;
  // The parameter registers the program holds now.
  std::function<ParameterWords()> parametersNow;
  // Opens the Parameters dialog with its trackbars placed.
  std::function<void(TrackbarPositions)> applyToParameters;
};

class CalibrationHost {
 public:
  virtual ~CalibrationHost() = default;
  // Opens the Calibrate window, or raises it when it is open.
  virtual void ShowCalibration(CalibrationActions actions) = 0;
};

}  // namespace zav
