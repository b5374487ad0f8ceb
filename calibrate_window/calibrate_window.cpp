#include "calibrate_window/calibrate_window.h"

#include "calibration/calibration_guide.h"
#include "params/set_factors.h"
#include "platform/files/path_text.h"
#include "resources/calibrate_template.h"

namespace zav {

namespace {

const char* RecordText(Fuel fuel) {
  return fuel == Fuel::Petrol ? kRecordOnPetrolText : kRecordOnGasText;
}

int LogControl(Fuel fuel) {
  return fuel == Fuel::Petrol ? kCalibratePetrolLog : kCalibrateGasLog;
}

int RecordControl(Fuel fuel) {
  return fuel == Fuel::Petrol ? kCalibratePetrolRecord : kCalibrateGasRecord;
}

void ShowLogPath(Desktop& desktop, CalibrateWindow& state, Fuel fuel) {
  const std::optional<std::filesystem::path>& log = state.Log(fuel);
  desktop.SetText(state.window, LogControl(fuel), log ? Utf8FromPath(*log) : kNoLogText);
}

void ShowMessage(Desktop& desktop, const CalibrateWindow& state, const std::string& text) {
  desktop.SetText(state.window, kCalibrateMessage, text);
}

void ShowGuidance(Desktop& desktop, CalibrateWindow& state);

// The window's recording has ended (here or elsewhere): the button records again and the
// log is read as the drive on its fuel.
void EndOwnRecording(Desktop& desktop, CalibrateWindow& state) {
  const Fuel fuel = *state.recording;
  state.recording.reset();
  state.follower.reset();
  state.recorded = {};  // the drive is read whole from its log now
  desktop.SetText(state.window, RecordControl(fuel), RecordText(fuel));
  if (state.Log(fuel)) {
    SetCalibrateLog(desktop, state, fuel, *state.Log(fuel));
  }
}

// Counts the cells the recording under way covers, from the rows its log gained since the
// last count. A write during the recording continues in another file: that one is followed
// from its start.
void CountRecordedCells(CalibrateWindow& state, std::int64_t nowMs) {
  if (nowMs - state.cellsCountedAtMs < kCellCountPeriodMs || !state.Log(*state.recording)) {
    return;
  }
  state.cellsCountedAtMs = nowMs;
  const std::filesystem::path& log = *state.Log(*state.recording);
  if (!state.follower || state.followedLog != log) {
    state.follower = std::make_shared<CsvLogFollower>(log);
    state.followedLog = log;
    state.recorded.clear();
  }
  CsvLogContents added = state.follower->ReadAdded();
  if (!added.error.empty()) {
    return;  // the count stays; the log's fault is shown when the drive is read whole
  }
  state.recorded.insert(state.recorded.end(), added.samples.begin(), added.samples.end());
  state.recordingCounts = CellCountsOn(state.recorded, *state.recording);
  state.recordingCells = CoveredIn(state.recordingCounts);
}

// The controller confirmed a set with the proposal's factors: the fitter wrote it.
bool ProposalWritten(const CalibrateWindow& state) {
  if (!state.result || !state.result->proposal || !state.result->proposal->Changes() ||
      !state.actions.confirmedSet) {
    return false;
  }
  const std::optional<ParameterWords> confirmed = state.actions.confirmedSet();
  const Proposal& proposal = *state.result->proposal;
  return confirmed && ParameterAt(*confirmed, kXAxisRegister) == proposal.xAxis &&
         PositionsOf(*confirmed) == proposal.reopened;
}

void ShowGuidance(Desktop& desktop, CalibrateWindow& state) {
  const CalibrationActions& actions = state.actions;
  const bool anyRecording = actions.recording && actions.recording();
  // A recording stopped elsewhere (the menu, a full disk) ends the guided one too.
  if (state.recording && actions.recording && !anyRecording) {
    EndOwnRecording(desktop, state);
    return;
  }
  // A write during the recording splits the log (each part on one set): follow the part
  // being written, which is driven on the factors now in force.
  if (state.recording && actions.recordingPath && anyRecording &&
      actions.recordingPath() != state.Log(*state.recording)) {
    state.Log(*state.recording) = actions.recordingPath();
    ShowLogPath(desktop, state, *state.recording);
  }
  GuideFacts facts;
  facts.operatingState = actions.operatingState ? actions.operatingState() : std::string();
  facts.recording = state.recording;
  if (state.recording) {
    const std::int64_t now = desktop.NowMs();
    facts.recordingSeconds = static_cast<double>(now - state.recordingSinceMs) / 1000.0;
    CountRecordedCells(state, now);
    facts.recordingCells = state.recordingCells;
    facts.recordingCounts = state.recordingCounts;
  }
  facts.petrolLog = state.Log(Fuel::Petrol).has_value();
  facts.gasLog = state.Log(Fuel::Gas).has_value();
  facts.petrolCells = state.petrolCells;
  facts.petrolCounts = state.petrolCounts;
  facts.result = state.result ? &*state.result : nullptr;
  facts.proposalWritten = ProposalWritten(state);
  if (facts.proposalWritten) {
    desktop.EnableControl(state.window, kCalibrateApply, false);  // nothing left to write
  }
  desktop.SetText(state.window, kCalibrateGuidance, Instruction(facts));
}

void Choose(Desktop& desktop, CalibrateWindow& state, Fuel fuel) {
  if (!state.actions.chooseLog) {
    return;
  }
  if (const std::optional<std::filesystem::path> chosen = state.actions.chooseLog(fuel)) {
    SetCalibrateLog(desktop, state, fuel, *chosen);
  }
}

// Asks before stopping a recording the window did not start, and offers to switch when the
// controller is on the other fuel. True when the recording may start.
bool ReadyToRecord(Desktop& desktop, CalibrateWindow& state, Fuel fuel) {
  const CalibrationActions& actions = state.actions;
  const bool other = !state.recording && actions.recording && actions.recording();
  const std::string operating = actions.operatingState ? actions.operatingState() : std::string();
  switch (CheckBeforeRecording(fuel, other, operating)) {
    case BeforeRecording::kStart:
      return true;
    case BeforeRecording::kOfferSwitch:
      if (actions.ask && actions.switchFuel &&
          actions.ask(SwitchFirstQuestion(fuel, operating), "Switch")) {
        actions.switchFuel();
      }
      return false;
    case BeforeRecording::kAskStopOther:
      break;
  }
  const std::filesystem::path running =
      actions.recordingPath ? actions.recordingPath() : std::filesystem::path();
  if (!actions.ask || !actions.ask(StopOtherQuestion(running, fuel), "Stop and record")) {
    return false;
  }
  if (const std::optional<std::string> failed =
          actions.stopRecording ? actions.stopRecording() : std::nullopt) {
    ShowMessage(desktop, state, *failed);
    return false;
  }
  return true;
}

void StopOwnRecording(Desktop& desktop, CalibrateWindow& state) {
  const std::optional<std::string> failed =
      state.actions.stopRecording ? state.actions.stopRecording() : std::nullopt;
  EndOwnRecording(desktop, state);
  if (failed) {
    ShowMessage(desktop, state, *failed);  // after the log is read, which rewrites the message
  }
}

void ToggleRecording(Desktop& desktop, CalibrateWindow& state, Fuel fuel) {
  if (state.recording == fuel) {
    StopOwnRecording(desktop, state);
    return;
  }
  if (state.recording) {
    StopOwnRecording(desktop, state);
  }
  if (!ReadyToRecord(desktop, state, fuel)) {
    ShowGuidance(desktop, state);
    return;
  }
  std::string failure;
  const std::optional<std::filesystem::path> path =
      state.actions.startRecording ? state.actions.startRecording(fuel, failure) : std::nullopt;
  if (!path) {
    ShowMessage(desktop, state, failure);
    return;
  }
  state.recording = fuel;
  state.recordingSinceMs = desktop.NowMs();
  state.cellsCountedAtMs = state.recordingSinceMs - kCellCountPeriodMs;
  state.recordingCells = 0;
  state.recordingCounts.clear();
  state.follower.reset();
  state.recorded.clear();
  state.Log(fuel) = *path;
  ShowLogPath(desktop, state, fuel);
  desktop.SetText(state.window, RecordControl(fuel), kStopText);
  // The result of the drive this one replaces goes, and with it "Apply to Parameters…".
  Recalculate(desktop, state);
  ShowGuidance(desktop, state);
}

void Close(Desktop& desktop, CalibrateWindow& state) {
  if (state.recording && state.Log(*state.recording)) {
    desktop.ShowMessage(state.window, ClosingWhileRecordingText(*state.Log(*state.recording)),
                        "Calibrate", MessageButtons::Ok, MessageIcon::Information);
  }
  desktop.KillTimer(state.window, kGuidanceTimer);
  state.open = false;
  desktop.EndDialog(state.window, 0);
}

void Init(Desktop& desktop, CalibrateWindow& state) {
  state.open = true;
  for (const Fuel fuel : {Fuel::Petrol, Fuel::Gas}) {
    ShowLogPath(desktop, state, fuel);
    desktop.SetText(state.window, RecordControl(fuel),
                    state.recording == fuel ? kStopText : RecordText(fuel));
  }
  desktop.SetTimer(state.window, kGuidanceTimer, kGuidancePeriodMs);
  Recalculate(desktop, state);
  ShowGuidance(desktop, state);
}

void Command(Desktop& desktop, CalibrateWindow& state, int id) {
  switch (id) {
    case kCalibratePetrolChoose:
      Choose(desktop, state, Fuel::Petrol);
      break;
    case kCalibrateGasChoose:
      Choose(desktop, state, Fuel::Gas);
      break;
    case kCalibratePetrolRecord:
      ToggleRecording(desktop, state, Fuel::Petrol);
      break;
    case kCalibrateGasRecord:
      ToggleRecording(desktop, state, Fuel::Gas);
      break;
    case kCalibrateSwitch:
      // The window's own switch, so the main window's need not be found under it.
      if (state.actions.switchFuel) {
        state.actions.switchFuel();
      }
      break;
    case kCalibrateApply:
      ApplyProposal(desktop, state);
      break;
    case kCommandEscape:  // as the chart windows; a recording under way goes on
      Close(desktop, state);
      break;
    default:
      break;
  }
}

bool Handle(Desktop& desktop, CalibrateWindow& state, const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      Init(desktop, state);
      return true;
    case DialogMessage::Timer:
      if (event.id == kGuidanceTimer) {
        ShowGuidance(desktop, state);
      }
      return true;
    case DialogMessage::Command:
      Command(desktop, state, event.id);
      return true;
    case DialogMessage::Paint:
      if (event.id == kCalibrateChart) {
        PaintCalibrationChart(desktop, state);
      }
      return true;
    case DialogMessage::Resize:
      desktop.Redraw(state.window, kCalibrateChart);
      return true;
    case DialogMessage::Close:
      Close(desktop, state);
      return true;
    default:
      return false;
  }
}

}  // namespace

void SetCalibrateLog(Desktop& desktop, CalibrateWindow& state, Fuel fuel,
                     const std::filesystem::path& path) {
  state.Log(fuel) = path;
  ShowLogPath(desktop, state, fuel);
  Recalculate(desktop, state);
  ShowGuidance(desktop, state);
}

WindowRef OpenCalibrateWindow(Desktop& desktop, WindowRef owner,
                              const std::shared_ptr<CalibrateWindow>& state) {
  const DialogProc proc = [state](Desktop& d, WindowRef window, const DialogEvent& event) {
    state->window = window;
    return Handle(d, *state, event);
  };
  state->window = desktop.OpenWindow(CalibrateTemplate(), owner, proc);
  if (state->window == WindowRef{}) {
    desktop.RunDialog(CalibrateTemplate(), owner, proc);
  }
  return state->window;
}

}  // namespace zav
