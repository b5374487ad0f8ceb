#include "ui/calibration_commands.h"

#include "calibration/calibration_host.h"
#include "calibration/calibration_logs.h"
#include "link/wire.h"
#include "params/gas_ratio_line.h"
#include "params/parameters_dialog.h"
#include "platform/files/path_text.h"
#include "texts/live_text.h"
#include "ui/data_log_commands.h"
#include "ui/extra_commands.h"
#include "ui/program.h"

namespace zav {

namespace {

// The proposed log's name with the fuel: zavmon-20261209-101500-petrol.csv.
std::filesystem::path GuidedLogPath(const Program& program, Fuel fuel) {
  std::filesystem::path path = ProposedLogPath(program);
  path.replace_filename(
      PathFromUtf8(Utf8FromPath(path.stem()) + "-" + std::string(FuelName(fuel)) + ".csv"));
  return path;
}

CalibrationActions ActionsFor(Program& program, WindowRef window) {
  CalibrationActions actions;
  actions.chooseLog = [&program, window](Fuel) { return ChooseLogToOpen(program, window); };
  actions.startRecording =
      [&program, window](Fuel fuel, std::string& failure) -> std::optional<std::filesystem::path> {
    if (program.dataLog.recorder.recording) {
      failure = "A recording is running (" +
                Utf8FromPath(program.dataLog.recorder.path.filename()) + "): stop it first.";
      return std::nullopt;
    }
    const std::filesystem::path path = GuidedLogPath(program, fuel);
    if (std::optional<std::string> failed = StartRecordingTo(program, window, path)) {
      failure = *failed;
      return std::nullopt;
    }
    return path;
  };
  actions.stopRecording = [&program, window] { return StopRecordingNow(program, window); };
  actions.recording = [&program] { return program.dataLog.recorder.recording; };
  actions.recordingPath = [&program] { return program.dataLog.recorder.path; };
  actions.ask = [&program, window](const std::string& question, const std::string& goOn) {
    return program.link.desktop->AskToGoOn(window, question, "question", goOn,
                                           MessageIcon::Warning);
  };
  actions.switchFuel = [&program] { CurrentCommand(program.link) = kLetterSwitch; };
  actions.operatingState = [&program]() -> std::string {
    const LiveSampleSource& source = program.dataLog.source;
    return source.statusKnown ? std::string(StatusText(source.lastStatus)) : std::string();
  };
  actions.confirmedSet = [&program]() -> std::optional<ParameterWords> {
    const ControllerSet& set = program.parameters.confirmedSet;
    return HasControllerSet(set) ? std::optional<ParameterWords>(set.words) : std::nullopt;
  };
  actions.applyToParameters = [&program](TrackbarPositions positions,
                                         std::uint16_t xAxis) -> std::optional<std::string> {
    const std::uint16_t held = RegisterValue(program.link.image, kXAxisRegister);
    if (held != xAxis) {
      return "The program holds \"X axis\" " + std::to_string(held) +
             ", but the proposal was made for \"X axis\" " + std::to_string(xAxis) +
             " (the set in force during the gas drive), and \"Y axis\" depends on it. Read "
             "the parameters from the controller (\"Read from ZAV\") or open that set, then "
             "apply again.";
    }
    RunParametersDialogPlaced(program.link, program.parameters, positions);
    return std::nullopt;
  };
  return actions;
}

}  // namespace

void AddCalibrationCommand(Program& program, WindowRef window) {
  AddExtraCommand(program, window, kLogMenu, kCalibrate, kCalibrateText, [&program, window] {
    if (program.calibration != nullptr) {
      program.calibration->ShowCalibration(ActionsFor(program, window));
    }
  });
}

}  // namespace zav
