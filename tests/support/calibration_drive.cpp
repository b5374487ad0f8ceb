#include "tests/support/calibration_drive.h"

#include "link/wire.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "tests/support/program_harness.h"
#include "ui/data_log_commands.h"
#include "ui/main_window.h"

namespace zav::testing {
namespace {

constexpr int kMain = kMainTemplateId;
constexpr Micros kReadAt = 500 * kMillisecond;
constexpr Micros kPetrolLogAt = 10 * kSecond;  // the read of 23 registers is long over
// From the press of "switch" to gas: a poll tick, the delay (500 ms) and the flushing
// (300 ms) with room to spare.
constexpr Micros kChangeOver = 3 * kSecond;
constexpr std::uint8_t kFirstFormulaRegister = 87;

sim::ControllerOptions ControllerFor(const CalibrationDrive& drive) {
  sim::ControllerOptions options;
  options.seed = drive.seed;
  options.engine = drive.engine;
  return options;
}

// Samples stamped with the virtual clock, so that the logs' times are those of the drive.
void UseVirtualSampleClock(ProgramHarness& harness) {
  harness.program.dataLog.source.clock =
      SampleClock{[&harness] { return 1'765'000'000'000 + harness.clock.Now() / kMillisecond; },
                  [&harness] { return harness.clock.Now() / kMillisecond; }};
}

void StartLog(ProgramHarness& harness, const std::filesystem::path& path) {
  harness.desktop.QueueFileAnswer(path.string());
  harness.desktop.ChooseAddedItem(kMain, kStartRecording);
}

void Note(std::string& failure, const std::string& what) {
  if (failure.empty()) {
    failure = what;
  }
}

// Whatever shows the drive did not go as planned.
void CheckEnd(const ProgramHarness& harness, RecordedDrive& recorded) {
  if (harness.controller.Status() != kStatusGas) {
    Note(recorded.failure, "not on gas at the end of the gas log (status " +
                               std::to_string(harness.controller.Status()) + ")");
  }
  for (const headless::MessageRecord& message : harness.desktop.Messages()) {
    if (message.text != "Read from ZAV?") {
      Note(recorded.failure, "message \"" + message.text + "\"");
    }
  }
  for (const std::filesystem::path& log : {recorded.petrolLog, recorded.gasLog}) {
    if (!std::filesystem::exists(log)) {
      Note(recorded.failure, "no log " + log.string());
    }
  }
}

}  // namespace

RecordedDrive RecordCalibrationDrive(const CalibrationDrive& drive,
                                     const std::filesystem::path& folder) {
  RecordedDrive recorded{folder / "petrol.csv", folder / "gas.csv", {}, {}};
  ProgramHarness harness(std::string("COM1"), ControllerFor(drive));
  UseVirtualSampleClock(harness);
  if (drive.formula) {
    for (std::size_t index = 0; index < drive.formula->size(); ++index) {
      harness.controller.SetRegister(static_cast<std::uint8_t>(kFirstFormulaRegister + index),
                                     (*drive.formula)[index]);
    }
  }
  const Micros switchAt = kPetrolLogAt + drive.petrolTime;
  const Micros endAt = switchAt + kChangeOver + drive.gasTime;
  harness.desktop.SetTimeLimit(endAt + 60 * kSecond);
  harness.desktop.At(kReadAt, [&] {
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Read from ZAV?"
    harness.desktop.Press(kMain, kCommandReadFromZav);
  });
  harness.desktop.At(kPetrolLogAt, [&] { StartLog(harness, recorded.petrolLog); });
  harness.desktop.At(switchAt, [&] {
    harness.desktop.ChooseAddedItem(kMain, kStopRecording);
    harness.controller.RestartTrimTally(drive.trimGrid);
    harness.desktop.Press(kMain, kSwitchButton);
    StartLog(harness, recorded.gasLog);
  });
  harness.desktop.At(endAt, [&] {
    harness.desktop.ChooseAddedItem(kMain, kStopRecording);
    recorded.gasTrims = harness.controller.Trims();
    CheckEnd(harness, recorded);
  });
  try {
    harness.RunUntil(endAt + kSecond);
  } catch (const headless::ScriptError& error) {
    Note(recorded.failure, std::string("script: ") + error.what());
  }
  return recorded;
}

}  // namespace zav::testing
