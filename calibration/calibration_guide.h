#pragma once
// What the Calibrate window tells the fitter and asks before it acts, as plain procedures
// over plain facts, so any host shows the same: one current instruction with the fuel the
// controller is on, the time and cells of the recording under way, the petrol drive's
// coverage before the gas drive, the verdict, and the questions before a guided recording
// stops another one or records on the wrong fuel.

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "calibration/calibration.h"
#include "calibration/cell_counts.h"

namespace zav {

struct GuideFacts {
  std::string operatingState;     // "Petrol", "Gas", ... as the main window shows it; empty: none
  std::optional<Fuel> recording;  // the window's own recording under way
  double recordingSeconds = 0.0;  // s since it started
  int recordingCells = 0;         // cells with enough settled samples in it so far
  std::vector<CellCount> recordingCounts;  // settled samples per cell in it so far
  bool petrolLog = false;                  // a petrol drive chosen or recorded
  bool gasLog = false;
  int petrolCells = -1;                 // cells the petrol drive covers on its own; -1: not known
  std::vector<CellCount> petrolCounts;  // and its settled samples per cell
  const Calibration* result = nullptr;
  // The controller confirmed a set with the proposal's factors: it was written.
  bool proposalWritten = false;
};

enum class BeforeRecording {
  kStart,         // nothing in the way
  kAskStopOther,  // a recording the window did not start runs: ask before stopping it
  kOfferSwitch,   // the controller is on the other fuel: offer to switch first
};

// What must happen before the window records a drive on `fuel`.
BeforeRecording CheckBeforeRecording(Fuel fuel, bool otherRecording,
                                     const std::string& operatingState);

// "A recording started from the Log menu is running (drive.csv). Stop it and record the
// drive on gas instead?"
std::string StopOtherQuestion(const std::filesystem::path& running, Fuel fuel);

// "The controller shows "Petrol", not "Gas". Switch to gas now? ..."
std::string SwitchFirstQuestion(Fuel fuel, const std::string& operatingState);

// The one thing to do now, with the fuel the controller is on.
std::string Instruction(const GuideFacts& facts);

// What closing the window while it records means, and where to stop the recording.
std::string ClosingWhileRecordingText(const std::filesystem::path& log);

// "2:05" (minutes and seconds).
std::string ElapsedText(double seconds);

// "Petrol", "Gas": the operating state that shows a fuel.
std::string_view StateOf(Fuel fuel);

}  // namespace zav
