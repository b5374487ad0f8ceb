#include "ui/calibration_commands.h"

#include "calibration/calibration_host.h"
#include "calibration/calibration_logs.h"
#include "params/parameters_dialog.h"
#include "texts/live_text.h"
#include "ui/data_log_commands.h"
#include "ui/extra_commands.h"
#include "ui/program.h"

namespace zav {

namespace {

// The proposed log's name with the fuel: zavmon-20261209-101500-petrol.csv.
std::filesystem::path GuidedLogPath(const Program& program, Fuel fuel) {
  std::filesystem::path path = ProposedLogPath(program);
  path.replace_filename(path.stem().string() + "-" + std::string(FuelName(fuel)) + ".csv");
  return path;
}

CalibrationActions ActionsFor(Program& program, WindowRef window) {
  CalibrationActions actions;
  actions.chooseLog = [&program, window](Fuel) { return ChooseLogToOpen(program, window); };
  actions.startRecording =
      [&program, window](Fuel fuel, std::string& failure) -> std::optional<std::filesystem::path> {
    if (program.dataLog.recorder.recording) {
      StopRecordingNow(program, window);
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
  actions.operatingState = [&program]() -> std::string {
    const LiveSampleSource& source = program.dataLog.source;
    return source.statusKnown ? std::string(StatusText(source.lastStatus)) : std::string();
  };
  actions.parametersNow = [&program] { return ParametersOf(program.link.image); };
  actions.applyToParameters = [&program](TrackbarPositions positions) {
    RunParametersDialogPlaced(program.link, program.parameters, positions);
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
