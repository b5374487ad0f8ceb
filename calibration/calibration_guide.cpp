#include "calibration/calibration_guide.h"

#include <cmath>
#include <map>
#include <utility>

#include "calibration/calibration_logs.h"
#include "calibration/calibration_text.h"
#include "platform/files/path_text.h"

namespace zav {

namespace {

constexpr std::size_t kMostCellsNamed = 4;  // cells named in one instruction

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// The controller is known to be on another fuel than `fuel`.
bool OnOther(const std::string& state, Fuel fuel) {
  return !state.empty() && state != StateOf(fuel);
}

std::string NowText(const std::string& state) {
  return state.empty() ? " (the controller has not reported its state yet)"
                       : " [now: " + state + "]";
}

std::string RecordingInstruction(const GuideFacts& facts) {
  const Fuel fuel = *facts.recording;
  std::string text = "Recording on " + std::string(FuelName(fuel)) + ", " +
                     ElapsedText(facts.recordingSeconds) + ", " +
                     std::to_string(facts.recordingCells) +
                     " load cells covered so far: drive across the load range, light to heavy "
                     "throttle at low, middle and high engine speed, holding each a few "
                     "seconds, for four minutes or more; then press \"Stop\".";
  const std::string missing =
      MissingCellsText(facts.recordingCounts,
                       fuel == Fuel::Gas ? std::span<const CellCount>(facts.petrolCounts)
                                         : std::span<const CellCount>(),
                       kMostCellsNamed);
  if (!missing.empty()) {
    text += " " + missing;
  }
  if (OnOther(facts.operatingState, fuel)) {
    text += " The controller shows " + Quoted(facts.operatingState) + ", not " +
            Quoted(StateOf(fuel)) + ": these samples are left out; press \"Switch\".";
  }
  return text;
}

std::string AfterBothDrives(const GuideFacts& facts) {
  const Calibration* result = facts.result;
  if (result == nullptr) {
    return "Choose or record both drives.";
  }
  if (!result->proposal) {
    return "No proposal (see above): drive as it says and record again.";
  }
  if (result->calibrated) {
    return "The car is calibrated: " + CalibratedFacts(*result) + ". Nothing to write.";
  }
  if (facts.proposalWritten) {
    const Factors written = result->proposal->proposedFactors;
    return "The proposed factors (left " + FixedText(written.left, 2) + ", right " +
           FixedText(written.right, 2) + ") are written to the controller. Next, check them: " +
           (OnOther(facts.operatingState, Fuel::Gas)
                ? "press \"Switch\" and, once the window shows \"Gas\", press \"Record on gas\""
                : "press \"Record on gas\"") +
           " and drive the same loads again.";
  }
  if (!result->proposal->Changes()) {
    return "No change to write: the factors in force are the nearest on the trackbars' grid.";
  }
  std::string text =
      "Press \"Apply to Parameters…\", then \"Ok\" and confirm \"Send data to ZAV ?\": the "
      "controller takes the write on petrol. Then switch to gas here and press \"Record on "
      "gas\" to check.";
  return text;
}

}  // namespace

std::string_view StateOf(Fuel fuel) {
  return fuel == Fuel::Petrol ? "Petrol" : "Gas";
}

BeforeRecording CheckBeforeRecording(Fuel fuel, bool otherRecording,
                                     const std::string& operatingState) {
  if (otherRecording) {
    return BeforeRecording::kAskStopOther;
  }
  if (OnOther(operatingState, fuel)) {
    return BeforeRecording::kOfferSwitch;
  }
  return BeforeRecording::kStart;
}

std::string StopOtherQuestion(const std::filesystem::path& running, Fuel fuel) {
  return "A recording this window did not start is running (" + Utf8FromPath(running.filename()) +
         "). Stop it and record the drive on " + std::string(FuelName(fuel)) + " instead?";
}

std::string SwitchFirstQuestion(Fuel fuel, const std::string& operatingState) {
  return "The controller shows " + Quoted(operatingState) + ", not " + Quoted(StateOf(fuel)) +
         ": a drive recorded now would not be on " + std::string(FuelName(fuel)) + ". Switch to " +
         std::string(FuelName(fuel)) + " now? Press \"Record on " + std::string(FuelName(fuel)) +
         "\" once the window shows " + Quoted(StateOf(fuel)) + ".";
}

std::string Instruction(const GuideFacts& facts) {
  std::string text;
  if (facts.recording) {
    return RecordingInstruction(facts) + NowText(facts.operatingState);
  }
  if (!facts.petrolLog) {
    text =
        "Step 1: on petrol, press \"Record on petrol\" and drive across the load range: "
        "light to heavy throttle at low, middle and high engine speed, holding each a few "
        "seconds, for four minutes or more. Then press \"Stop\".";
    if (OnOther(facts.operatingState, Fuel::Petrol)) {
      text += " First press \"Switch\": the controller is not on petrol.";
    }
  } else if (!facts.gasLog) {
    text = facts.petrolCells >= 0 ? "The petrol drive covers " + std::to_string(facts.petrolCells) +
                                        " load cells; the gas drive should cover the same loads. "
                                  : std::string();
    text += OnOther(facts.operatingState, Fuel::Gas)
                ? "Step 2: press \"Switch\" and, once the window shows \"Gas\", press \"Record "
                  "on gas\" and drive the same way."
                : "Step 2: press \"Record on gas\" and drive the same loads as on petrol.";
  } else {
    text = AfterBothDrives(facts);
  }
  return text + NowText(facts.operatingState);
}

std::string ClosingWhileRecordingText(const std::filesystem::path& log) {
  return "The recording to " + Utf8FromPath(log.filename()) +
         " goes on after this window closes. Stop it with \"Stop recording\" in the Log menu, "
         "or open \"Calibrate…\" again and press \"Stop\".";
}

std::string ElapsedText(double seconds) {
  const auto whole = static_cast<long>(std::floor(std::max(seconds, 0.0)));
  const long rest = whole % 60;
  return std::to_string(whole / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

}  // namespace zav
