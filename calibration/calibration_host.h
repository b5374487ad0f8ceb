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
  // message saying why it could not start (also when another recording runs: the window
  // asks before it stops that one).
  std::function<std::optional<std::filesystem::path>(Fuel fuel, std::string& failure)>
      startRecording;
  // Ends the recording; a message when that went wrong.
  std::function<std::optional<std::string>()> stopRecording;
  std::function<bool()> recording;
  // The log being recorded, whoever started it.
  std::function<std::filesystem::path()> recordingPath;
  // A question with Cancel as the safe default; true when `goOn` was chosen.
  std::function<bool(const std::string& question, const std::string& goOn)> ask;
  // Asks the controller to switch fuel, as the main window's "switch" button.
  std::function<void()> switchFuel;
  // The operating state as the main window shows it ("Petrol", "Gas", ...); empty before
  // the first status.
  std::function<std::string()> operatingState;
  // The parameter set the controller confirmed (its last completed read or write); nothing
  // before one. Never the register image, which may hold values not sent.
  std::function<std::optional<ParameterWords>()> confirmedSet;
  // Opens the Parameters dialog with its trackbars placed, when the program holds the "X
  // axis" the proposal was made for; else a message saying why not.
  std::function<std::optional<std::string>(TrackbarPositions, std::uint16_t xAxis)>
      applyToParameters;
};

class CalibrationHost {
 public:
  virtual ~CalibrationHost() = default;
  // Opens the Calibrate window, or raises it when it is open.
  virtual void ShowCalibration(CalibrationActions actions) = 0;
};

}  // namespace zav
