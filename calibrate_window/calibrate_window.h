#pragma once
// The Calibrate window (template 3300): a drive on petrol and a drive on gas, chosen or
// recorded with guidance, the table of load cells, the chart of needed ratios with the
// factors' line in force and the proposed one, the verdict, and "Apply to Parameters…".
// Not modal; its procedure keeps the state below and the host only draws and reports.
// Nothing here touches the line: recording, switching and the Parameters dialog go through
// the program's actions. The state outlives the window, so a window opened again shows the
// same logs and the recording it started.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "calibration/calibration.h"
#include "calibration/calibration_host.h"
#include "calibration/calibration_logs.h"
#include "calibration/cell_counts.h"
#include "datalog/csv_log_reader.h"
#include "platform/desktop.h"

namespace zav {

inline constexpr const char* kRecordOnPetrolText = "Record on petrol";
inline constexpr const char* kRecordOnGasText = "Record on gas";
inline constexpr const char* kStopText = "Stop";
inline constexpr const char* kNoLogText = "no log chosen";
inline constexpr int kGuidanceTimer = 1;
inline constexpr int kGuidancePeriodMs = 1000;
// While recording, the cells covered so far are counted from the rows the log gained, this
// often (ms).
inline constexpr std::int64_t kCellCountPeriodMs = 5000;

struct CalibrateWindow {
  CalibrationActions actions;
  WindowRef window;
  bool open = false;
  std::array<std::optional<std::filesystem::path>, 2> logs;  // petrol, gas
  std::optional<Fuel> recording;  // the drive being recorded from this window
  std::int64_t recordingSinceMs = 0;
  std::int64_t cellsCountedAtMs = 0;
  int recordingCells = 0;                  // covered so far in the recording under way
  std::vector<CellCount> recordingCounts;  // its settled samples per cell so far
  // The log under way as it grows, read only where it grew, and its rows so far.
  std::shared_ptr<CsvLogFollower> follower;
  std::filesystem::path followedLog;
  std::vector<DecodedSample> recorded;
  int petrolCells = -1;  // covered by the petrol drive alone; -1: not known
  std::vector<CellCount> petrolCounts;
  std::optional<Calibration> result;
  LogCache logCache;  // each log read once, until it changes

  std::optional<std::filesystem::path>& Log(Fuel fuel) {
    return logs[fuel == Fuel::Petrol ? 0 : 1];
  }
};

// Opens the window on `state`; Init is delivered before it returns. A host without windows
// that are not modal shows it as a modal dialog, returning when it closes.
WindowRef OpenCalibrateWindow(Desktop& desktop, WindowRef owner,
                              const std::shared_ptr<CalibrateWindow>& state);

// Takes the log as the drive on `fuel` and works the table out afresh.
void SetCalibrateLog(Desktop& desktop, CalibrateWindow& state, Fuel fuel,
                     const std::filesystem::path& path);

// Reads the logs (each once), works the calibration out and shows the messages, the table,
// the chart and the verdict; "Apply to Parameters…" is enabled when there is a change to
// write.
void Recalculate(Desktop& desktop, CalibrateWindow& state);

// "Apply to Parameters…": the proposal into the Parameters dialog, or the reason it cannot.
void ApplyProposal(Desktop& desktop, CalibrateWindow& state);

// Draws the chart control in its Paint event.
void PaintCalibrationChart(Desktop& desktop, const CalibrateWindow& state);

}  // namespace zav
