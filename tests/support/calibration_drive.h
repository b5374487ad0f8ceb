#pragma once
// A drive recorded for calibration, on the headless host's virtual clock: the whole program
// (main window, poll cycle, Log menu, recorder) against the in-process controller, whose
// engine has a gas need of its own and follows the drive cycle. The scripted fitter reads
// the parameters from the controller (so the .car beside each log holds the set in force),
// records a drive on petrol, presses "switch" and records a drive on gas. Each call is a
// fresh program and a fresh, cold engine.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "hosts/headless/virtual_clock.h"
#include "sim/engine_options.h"
#include "sim/trim_tally.h"

namespace zav::testing {

struct CalibrationDrive {
  sim::EngineOptions engine{std::nullopt, sim::DriveMode::kCycle};
  // Registers 87 to 89 ("X axis", "Y axis", "Numerator") in the controller from the start,
  // as if written before; nothing: the factory's.
  std::optional<std::array<std::uint16_t, 3>> formula;
  headless::Micros petrolTime = 180 * headless::kSecond;  // recorded on petrol
  headless::Micros gasTime = 180 * headless::kSecond;     // recorded on gas, after the change
  std::uint32_t seed = 1;
  sim::TrimGrid trimGrid;  // the cells of `RecordedDrive::gasTrims`
};

struct RecordedDrive {
  std::filesystem::path petrolLog;  // each with its .car beside it
  std::filesystem::path gasLog;
  // The petrol unit's trim while the gas log was recorded, per load cell: how far the gas
  // delivered was from the engine's need (see MeanAbsoluteTrimOverCells).
  sim::TrimTally gasTrims;
  std::string failure;  // empty when both logs were recorded as planned, else what went wrong
};

// Writes `folder`/petrol.csv and `folder`/gas.csv (and their .car files); they outlive the
// call. The gas log starts at the press of "switch", so its first rows are the change-over
// ("Delay", "Flushing"); `gasTime` counts from a little after.
RecordedDrive RecordCalibrationDrive(const CalibrationDrive& drive,
                                     const std::filesystem::path& folder);

}  // namespace zav::testing
