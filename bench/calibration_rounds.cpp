// How well the calibration assistant finds an engine's gas need: for three needs, the whole
// program records three minutes on petrol and three on gas over the simulator's drive cycle
// (virtual clock), the proposal is written and the gas drive repeated, twice. Prints the
// proposal against the need, the cells covered and the petrol unit's mean |trim| over the
// covered cells before and after each round.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "calibration/calibration.h"
#include "calibration/calibration_logs.h"
#include "sim/trim_tally.h"
#include "tests/support/calibration_drive.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr std::size_t kFewestTrimSteps = 200;  // 4 s of model steps in a cell
constexpr int kRounds = 2;

struct Outcome {
  zav::Calibration calibration;
  double meanTrim = 0.0;  // mean |trim - 1| while the gas log was recorded
  bool recorded = false;
};

Outcome DriveAndCalibrate(const zav::testing::CalibrationDrive& drive) {
  const zav::testing::TempDir folder;
  const zav::testing::RecordedDrive recorded =
      zav::testing::RecordCalibrationDrive(drive, folder.Path());
  const auto petrol = zav::LoadCalibrationLog(recorded.petrolLog, zav::Fuel::Petrol);
  const auto gas = zav::LoadCalibrationLog(recorded.gasLog, zav::Fuel::Gas);
  Outcome outcome;
  if (!recorded.failure.empty() || !petrol.error.empty() || !gas.error.empty() ||
      !gas.log.parameters) {
    return outcome;
  }
  outcome.recorded = true;
  outcome.calibration = zav::Calibrate(petrol.log.samples, gas.log.samples, *gas.log.parameters);
  outcome.meanTrim = zav::sim::MeanAbsoluteTrimOverCells(recorded.gasTrims, kFewestTrimSteps);
  return outcome;
}

void Report(zav::sim::GasFactors need) {
  const auto started = std::chrono::steady_clock::now();
  zav::testing::CalibrationDrive drive;
  drive.engine.gasNeed = need;
  std::printf("need %.2f, %.2f\n", need.left, need.right);
  Outcome outcome = DriveAndCalibrate(drive);
  for (int round = 1; round <= kRounds; ++round) {
    if (!outcome.recorded || !outcome.calibration.proposal) {
      std::printf("  round %d: no proposal: %s\n", round, outcome.calibration.reason.c_str());
      return;
    }
    const zav::Proposal proposal = *outcome.calibration.proposal;
    std::printf(
        "  round %d: %d cells covered; mean |trim| %.1f %%; proposal %.2f, %.2f (trackbars "
        "%d, %d), off by %+.2f, %+.2f\n",
        round, outcome.calibration.covered, outcome.meanTrim * 100.0, proposal.proposedFactors.left,
        proposal.proposedFactors.right, proposal.proposed.left, proposal.proposed.right,
        proposal.proposedFactors.left - need.left, proposal.proposedFactors.right - need.right);
    drive.formula = {proposal.xAxis, static_cast<std::uint16_t>(proposal.formula.yAxis),
                     static_cast<std::uint16_t>(proposal.formula.numerator)};
    outcome = DriveAndCalibrate(drive);
    std::printf("           written, then 3 min on gas: mean |trim| %.1f %%\n",
                outcome.meanTrim * 100.0);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("  (%d drives of 6 virtual minutes in %.1f s)\n", kRounds + 1, seconds);
}

}  // namespace

int main() {
  Report({2.20, 1.30});
  Report({2.40, 1.20});
  Report({1.90, 1.40});
  zav::testing::CalibrationDrive shortDrive;
  shortDrive.petrolTime = 20 * zav::headless::kSecond;
  shortDrive.gasTime = 20 * zav::headless::kSecond;
  const Outcome tooShort = DriveAndCalibrate(shortDrive);
  std::printf("20 s on each fuel: %s\n", tooShort.calibration.proposal
                                             ? "a proposal (unexpected)"
                                             : tooShort.calibration.reason.c_str());
  return 0;
}
