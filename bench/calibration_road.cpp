// The calibration assistant on drives that wander as a road drive does (zavsim --drive road),
// on the virtual clock against the in-process controller, deterministic per seed:
//  1. three gas needs by three seeds, 4 minutes per fuel from the factory set: the proposal
//     after at most two rounds (record, write, drive on gas again) against the need;
//  2. gas already right, every seed, whole drives, drives kept at or below 650 and 550 mbar,
//     and gas drives holding each load 30 or 80 mbar higher than the petrol drive: no change
//     within one 0.02 step, or a refusal with its reason;
//  3. memory: a 20 MB line refused, and a one-hour log read, as the peak resident size of a
//     child process doing only that, against one doing nothing.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calibration/calibration.h"
#include "calibration/calibration_logs.h"
#include "calibration/cell_counts.h"
#include "datalog/csv_log_reader.h"
#include "datalog/csv_log_writer.h"
#include "tests/support/calibration_drive.h"
#include "tests/support/temp_dir.h"

namespace {

using zav::Calibration;
using zav::DecodedSample;

// Two 0.02 steps of the trackbars; the factors are floats, so a little room for rounding.
constexpr double kTolerance = 0.04 + 1e-6;
constexpr double kOneStep = 0.02;

struct Drives {
  std::vector<DecodedSample> petrol;
  std::vector<DecodedSample> gas;
  zav::ParameterWords inForce{};
  bool recorded = false;
};

Drives Record(const zav::testing::CalibrationDrive& drive) {
  const zav::testing::TempDir folder;
  const zav::testing::RecordedDrive recorded =
      zav::testing::RecordCalibrationDrive(drive, folder.Path());
  const auto petrol = zav::LoadCalibrationLog(recorded.petrolLog, zav::Fuel::Petrol);
  const auto gas = zav::LoadCalibrationLog(recorded.gasLog, zav::Fuel::Gas);
  Drives drives;
  if (!recorded.failure.empty() || !petrol.error.empty() || !gas.error.empty() ||
      !gas.log.parameters) {
    return drives;
  }
  drives.petrol = petrol.log.samples;
  drives.gas = gas.log.samples;
  drives.inForce = *gas.log.parameters;
  drives.recorded = true;
  return drives;
}

zav::testing::CalibrationDrive RoadDrive(zav::sim::GasFactors need, std::uint32_t seed) {
  zav::testing::CalibrationDrive drive;
  drive.engine = zav::sim::EngineOptions{need, zav::sim::DriveMode::kRoad};
  drive.seed = seed;
  drive.petrolTime = 240 * zav::headless::kSecond;
  drive.gasTime = 240 * zav::headless::kSecond;
  return drive;
}

std::string Short(const std::string& text) {
  return text.size() > 70 ? text.substr(0, 70) + "..." : text;
}

bool RoundsFor(zav::sim::GasFactors need, std::uint32_t seed) {
  zav::testing::CalibrationDrive drive = RoadDrive(need, seed);
  std::string line;
  zav::Factors last{2.2, 1.12};
  for (int round = 1; round <= 2; ++round) {
    const Drives drives = Record(drive);
    if (!drives.recorded) {
      std::printf("  %.2f %.2f  seed %u: recording failed\n", need.left, need.right, seed);
      return false;
    }
    const Calibration result = zav::Calibrate(drives.petrol, drives.gas, drives.inForce);
    if (!result.proposal) {
      line += "  round " + std::to_string(round) + ": " + Short(result.reason);
      break;
    }
    const zav::Proposal& proposal = *result.proposal;
    last = proposal.proposedFactors;
    char text[160];
    std::snprintf(text, sizeof text, "  r%d: %2d cells %s %.2f %.2f", round, result.covered,
                  result.calibrated ? "calibrated" : (proposal.Changes() ? "->" : "no change"),
                  last.left, last.right);
    line += text;
    if (!proposal.Changes()) {
      break;
    }
    drive.formula = {proposal.xAxis, static_cast<std::uint16_t>(proposal.formula.yAxis),
                     static_cast<std::uint16_t>(proposal.formula.numerator)};
  }
  const bool within = std::abs(last.left - need.left) <= kTolerance &&
                      std::abs(last.right - need.right) <= kTolerance;
  std::printf("  need %.2f %.2f  seed %u%s  | off %+.2f %+.2f  %s\n", need.left, need.right, seed,
              line.c_str(), last.left - need.left, last.right - need.right,
              within ? "ok" : "MISSED");
  return within;
}

bool Judge(const char* what, std::uint32_t seed, const Calibration& result) {
  const zav::Factors factory{2.2, 1.12};
  bool ok = true;
  std::string verdict;
  if (!result.proposal) {
    verdict = "refused: " + Short(result.reason);
  } else {
    const zav::Factors proposed = result.proposal->proposedFactors;
    ok = std::abs(proposed.left - factory.left) <= kOneStep + 1e-6 &&
         std::abs(proposed.right - factory.right) <= kOneStep + 1e-6;
    char text[120];
    std::snprintf(text, sizeof text, "%s %.2f %.2f (largest correction %.1f %%)",
                  result.calibrated ? "calibrated" : "proposal", proposed.left, proposed.right,
                  result.largestCorrection * 100.0);
    verdict = text;
  }
  std::printf("  seed %u %-26s %2d cells  %s  %s\n", seed, what, result.covered, verdict.c_str(),
              ok ? "ok" : "MOVED");
  return ok;
}

// Drives of the road as a fitter drives them: whole, kept at or below a manifold pressure
// (--road-top), and a gas drive holding each load higher than the petrol drive did
// (--road-shift: the same road, the holds higher).
bool GasAlreadyRight(std::uint32_t seed) {
  const auto driven = [seed](std::optional<double> topMbar, double shiftMbar) {
    zav::testing::CalibrationDrive drive = RoadDrive(zav::sim::GasFactors{}, seed);
    drive.engine.roadTopMbar = topMbar;
    drive.engine.roadShiftMbar = shiftMbar;
    return Record(drive);
  };
  const Drives whole = driven(std::nullopt, 0.0);
  if (!whole.recorded) {
    std::printf("  seed %u: recording failed\n", seed);
    return false;
  }
  bool ok = Judge("whole drive", seed, zav::Calibrate(whole.petrol, whole.gas, whole.inForce));
  for (const double top : {650.0, 550.0}) {
    const Drives below = driven(top, 0.0);
    ok &= below.recorded && Judge(top > 600 ? "driven <= 650 mbar" : "driven <= 550 mbar", seed,
                                  zav::Calibrate(below.petrol, below.gas, below.inForce));
  }
  for (const double higher : {30.0, 80.0}) {
    const Drives shifted = driven(std::nullopt, higher);
    ok &= shifted.recorded &&
          Judge(higher > 50 ? "gas holds 80 mbar higher" : "gas holds 30 mbar higher", seed,
                zav::Calibrate(whole.petrol, shifted.gas, shifted.inForce));
  }
  return ok;
}

// Where the samples of a road drive go: too soon after the start or a switch-over, the
// load still moving (held less than 1.5 s before and 0.5 s after), or settled; and how many
// cells the settled ones reach and cover.
void Coverage(std::uint32_t seed) {
  const Drives drives = Record(RoadDrive(zav::sim::GasFactors{}, seed));
  if (!drives.recorded) {
    std::printf("  seed %u: recording failed\n", seed);
    return;
  }
  for (const zav::Fuel fuel : {zav::Fuel::Petrol, zav::Fuel::Gas}) {
    const auto& drive = fuel == zav::Fuel::Petrol ? drives.petrol : drives.gas;
    const zav::SteadySelection selection = zav::SteadySamples(drive, fuel);
    const std::vector<zav::CellCount> cells = zav::CellCountsOn(drive, fuel);
    std::printf(
        "  seed %u %-6s %4d samples: %3d settling, %4d moving, %4zu settled; %2zu cells "
        "reached, %2d covered\n",
        seed, fuel == zav::Fuel::Petrol ? "petrol" : "gas", selection.onFuel, selection.settling,
        selection.moving, selection.samples.size(), cells.size(), zav::CoveredIn(cells));
  }
}

long PeakKilobytes(const std::function<void()>& work) {
  const pid_t child = fork();
  if (child == 0) {
    work();
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return usage.ru_maxrss;
}

void Memory() {
  const zav::testing::TempDir folder;
  const std::string header = zav::CsvHeaderRow();
  {
    std::ofstream file(folder / "line.csv", std::ios::binary);
    file << header << std::string(20'000'000, ',') << "\r\n";
  }
  zav::CsvLogWriter writer;
  zav::OpenCsvLog(writer, folder / "hour.csv");
  zav::LiveSample sample;
  sample.statusKnown = true;
  sample.status = 6;
  for (int tick = 0; tick < 24'000; ++tick) {  // an hour at 150 ms
    sample.unixMs = 1'765'000'000'000 + tick * 150;
    sample.steadyMs = tick * 150;
    for (std::size_t i = 0; i < sample.values.size(); ++i) {
      sample.values[i] = static_cast<std::uint16_t>(7000 + (tick * 7 + i * 13) % 900);
    }
    zav::WriteCsvRow(writer, sample);
  }
  zav::CloseCsvLog(writer);
  const auto bytes = std::filesystem::file_size(folder / "hour.csv");
  const long idle = PeakKilobytes([] {});
  const long line = PeakKilobytes([&] { zav::ReadCsvLog(folder / "line.csv"); });
  const long hour = PeakKilobytes([&] { zav::ReadCsvLog(folder / "hour.csv"); });
  std::printf("memory (peak resident, kB): a child doing nothing %ld\n", idle);
  std::printf("  20 MB line of commas refused: %ld (+%ld; limit +51200)  %s\n", line, line - idle,
              line - idle <= 50 * 1024 ? "ok" : "OVER");
  std::printf("  one-hour log, %ju bytes, read: %ld (+%ld; limit +%ju)  %s\n",
              static_cast<std::uintmax_t>(bytes), hour, hour - idle,
              static_cast<std::uintmax_t>(bytes / 1024 + 20 * 1024),
              static_cast<std::uintmax_t>(hour - idle) <= bytes / 1024 + 20 * 1024 ? "ok" : "OVER");
  std::printf("  (the hour: %s)\n", zav::ReadCsvLog(folder / "hour.csv").error.empty()
                                        ? "read whole"
                                        : zav::ReadCsvLog(folder / "hour.csv").error.c_str());
}

}  // namespace

int main() {
  // First, while the process is small: a child starts with its parent's resident pages.
  Memory();
  int missed = 0;
  std::printf("1. From the factory set, --drive road, 4 min per fuel, at most two rounds\n");
  for (const zav::sim::GasFactors need :
       {zav::sim::GasFactors{2.20, 1.30}, zav::sim::GasFactors{2.40, 1.20},
        zav::sim::GasFactors{1.90, 1.40}}) {
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
      missed += RoundsFor(need, seed) ? 0 : 1;
    }
  }
  std::printf("2. Gas already right (need = factory set)\n");
  for (std::uint32_t seed = 1; seed <= 3; ++seed) {
    missed += GasAlreadyRight(seed) ? 0 : 1;
  }
  std::printf("3. Where the samples of a 4-minute road drive go (gas right)\n");
  for (std::uint32_t seed = 1; seed <= 3; ++seed) {
    Coverage(seed);
  }
  std::printf("%s\n", missed == 0 ? "all within bounds" : "SOME MISSED");
  return missed == 0 ? 0 : 1;
}
