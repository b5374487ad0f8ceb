// The drives a calibration is made from, recorded through the Log menu on the virtual clock
// against an engine whose gas need is not the factors in force: what the two logs hold, and
// that the measurement they allow (petrol time on gas against on petrol, at the same load)
// gives back the engine's need.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "datalog/csv_log_reader.h"
#include "datalog/recorder.h"
#include "datalog/sample_columns.h"
#include "link/wire.h"
#include "params/parameter_file.h"
#include "params/parameter_formula.h"
#include "sim/drive_cycle.h"
#include "sim/gas_factors.h"
#include "tests/support/calibration_drive.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

constexpr sim::GasFactors kNeed{2.20, 1.30};
constexpr std::size_t kLoadLevels = 6;
constexpr double kPointS = 10.0;   // each steady point of the drive cycle (s)
constexpr double kSettledS = 6.0;  // from here on in a point the trim has settled (s)

// Cylinder 1 (no spread of its own) summed over the settled samples at each load level.
struct LevelSums {
  std::array<double, kLoadLevels> petrolMs{};
  std::array<double, kLoadLevels> gasMs{};
  std::array<int, kLoadLevels> samples{};
};

double LevelMbar(std::size_t level) {
  return 250.0 + 550.0 * sim::kDriveCycleTopLoad * static_cast<double>(level) /
                     static_cast<double>(kLoadLevels - 1);
}

double LevelPetrolMs(std::size_t level) {
  return 2.5 + 4.0 * sim::kDriveCycleTopLoad * static_cast<double>(level) /
                   static_cast<double>(kLoadLevels - 1);
}

// The engine's running time (register 43, whole seconds) tells where in a point a row is.
LevelSums SettledSums(const CsvLogContents& log, std::uint16_t status) {
  LevelSums sums;
  for (const DecodedSample& sample : log.samples) {
    const double intoPointS = std::fmod(static_cast<double>(sample.hidden[2]), kPointS);
    if (sample.status != status || intoPointS < kSettledS) {
      continue;
    }
    for (std::size_t level = 0; level < kLoadLevels; ++level) {
      if (std::abs(sample.shown[kManifoldColumn] - LevelMbar(level)) < 20.0) {
        sums.petrolMs[level] += sample.shown[kFirstPetrolColumn];
        sums.gasMs[level] += sample.shown[kFirstGasColumn];
        ++sums.samples[level];
      }
    }
  }
  return sums;
}

// Checks both logs of a drive; returns the mean |trim - 1| the model applied over its cells.
double CheckDrive(const testing::RecordedDrive& recorded, sim::GasFactors delivered,
                  std::uint16_t numeratorInForce) {
  EXPECT_EQ(recorded.failure, "");
  const CsvLogContents petrol = ReadCsvLog(recorded.petrolLog);
  const CsvLogContents gas = ReadCsvLog(recorded.gasLog);
  EXPECT_EQ(petrol.error, "");
  EXPECT_EQ(gas.error, "");

  // Three minutes on petrol cover petrol times from about 2.5 to 7 ms.
  float shortest = 100.0f;
  float longest = 0.0f;
  for (const DecodedSample& sample : petrol.samples) {
    EXPECT_EQ(sample.status, kStatusPetrol);
    EXPECT_EQ(sample.shown[kFirstGasColumn], 0.0f);
    shortest = std::min(shortest, sample.shown[kFirstPetrolColumn]);
    longest = std::max(longest, sample.shown[kFirstPetrolColumn]);
  }
  EXPECT_GT(petrol.samples.size(), 1000U);
  EXPECT_LT(shortest, 2.6f);
  EXPECT_GT(longest, 6.9f);
  // The gas log starts with the change-over and is on gas from a second or two on.
  const auto onGas = std::count_if(gas.samples.begin(), gas.samples.end(),
                                   [](const DecodedSample& s) { return s.status == kStatusGas; });
  EXPECT_GT(gas.samples.size(), 1000U);
  EXPECT_NE(gas.samples.front().status, kStatusGas);
  EXPECT_GT(static_cast<double>(onGas), 0.98 * static_cast<double>(gas.samples.size()));

  // At each load the petrol unit lengthens or shortens its times on gas by need/delivered,
  // and gas on gas against petrol on petrol is the need.
  const LevelSums onPetrol = SettledSums(petrol, kStatusPetrol);
  const LevelSums gasSums = SettledSums(gas, kStatusGas);
  for (std::size_t level = 0; level < kLoadLevels; ++level) {
    EXPECT_GT(onPetrol.samples[level], 30) << level;
    EXPECT_GT(gasSums.samples[level], 30) << level;
    if (onPetrol.samples[level] == 0 || gasSums.samples[level] == 0) {
      continue;
    }
    const double petrolMs = onPetrol.petrolMs[level] / onPetrol.samples[level];
    const double petrolOnGasMs = gasSums.petrolMs[level] / gasSums.samples[level];
    const double gasMs = gasSums.gasMs[level] / gasSums.samples[level];
    const double baseMs = LevelPetrolMs(level);
    const double need = sim::GasToPetrolRatio(kNeed, baseMs);
    const double expectedTrim = need / sim::GasToPetrolRatio(delivered, baseMs);
    EXPECT_NEAR(petrolMs, baseMs, 0.03) << level;
    EXPECT_NEAR(petrolOnGasMs / petrolMs, expectedTrim, 0.01) << level;
    EXPECT_NEAR(gasMs / petrolMs, need, 0.02) << level;
  }

  // The parameters in force are kept beside both logs.
  for (const auto& log : {recorded.petrolLog, recorded.gasLog}) {
    const LoadedParameters beside = ReadParameterFile(ParametersPathOf(log));
    EXPECT_TRUE(beside.words.has_value());
    if (beside.words) {
      EXPECT_EQ((*beside.words)[89 - 80], numeratorInForce);
    }
  }
  // Trims within their bounds leave the lambda probe swinging.
  float leanest = 1000.0f;
  float richest = 0.0f;
  for (const DecodedSample& sample : gas.samples) {
    leanest = std::min(leanest, sample.shown[kLambdaColumn]);
    richest = std::max(richest, sample.shown[kLambdaColumn]);
  }
  EXPECT_LT(leanest, 300.0f);
  EXPECT_GT(richest, 700.0f);
  return sim::MeanAbsoluteTrimOverCells(recorded.gasTrims, 200);  // 4 s of steps or more
}

TEST(CalibrationDrive, LogsOnPetrolAndOnGasGiveBackTheNeedAndTheTrimFallsWhenTheFactorsMeetIt) {
  testing::TempDir factoryDir;
  testing::CalibrationDrive drive;
  drive.engine.gasNeed = kNeed;
  const double factoryTrim = CheckDrive(testing::RecordCalibrationDrive(drive, factoryDir.Path()),
                                        sim::FactorsOf(sim::FactoryRegisters()), 48160);
  // |need/delivered - 1| over the six loads: 0, 1.8, 4.1, 7.0, 10.8 and 16.1 %.
  EXPECT_GT(factoryTrim, 0.06);
  EXPECT_LT(factoryTrim, 0.11);

  // The trackbars at 2.20 and 1.30 (positions 15 and 10), written before the drive.
  testing::TempDir metDir;
  const FormulaResult met = ApplyFormulaTo(599, TrackbarPositions{15, 10});
  drive.formula = {599, static_cast<std::uint16_t>(met.yAxis),
                   static_cast<std::uint16_t>(met.numerator)};
  sim::StoredRegisters registers = sim::FactoryRegisters();
  sim::StoredAt(registers, 88) = (*drive.formula)[1];
  sim::StoredAt(registers, 89) = (*drive.formula)[2];
  const sim::GasFactors written = sim::FactorsOf(registers);
  EXPECT_NEAR(written.left, 2.20, 1e-6);
  EXPECT_NEAR(written.right, 1.30, 1e-6);
  EXPECT_LT(CheckDrive(testing::RecordCalibrationDrive(drive, metDir.Path()), written,
                       (*drive.formula)[2]),
            0.002);
}

}  // namespace
}  // namespace zav
