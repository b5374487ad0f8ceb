// zavctl calibrate on drives a fitter really makes: cut short, at loads not repeated
// exactly, with gaps, on a controller whose "X axis" leaves no writable "Y axis", through a
// parameter write, without a parameter file, or on a file that is no log. Each case gives
// what a fitter can trust: no change when the gas is already right, or a refusal with its
// reason, never a confident wrong proposal.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <fstream>
#include <functional>

#include "calibration/calibration.h"
#include "tests/calibration/synthetic_drive.h"
#include "tests/calibration/zavctl_child.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

namespace fs = std::filesystem;
using testing::GasModel;
using testing::Hold;

using testing::Zavctl;
using testing::ZavctlRun;

const Factors kFactory{2.20, 1.12};
constexpr TrackbarPositions kOtherPositions{10, 12};

// The gas is exactly what this engine needs under the factory set.
GasModel GasRight() {
  return GasModel{kFactory, kFactory};
}

enum class Outcome {
  kNoChange,  // exit 0 with the factors in force kept, or exit 1 with a reason
  kRefused,   // exit 1 or 3, the reason on stderr holding `says`
};

struct Case {
  const char* name;
  // Writes the logs into the folder and returns zavctl's arguments after "calibrate".
  std::function<std::vector<std::string>(const fs::path&)> make;
  Outcome outcome;
  std::string says;                   // in stderr
  TrackbarPositions inForce{15, 19};  // the positions the output must name as in force
};

void PrintTo(const Case& test, std::ostream* out) {
  *out << test.name;
}

std::vector<std::string> TwoLogs(const fs::path& folder, const std::vector<LiveSample>& petrol,
                                 const std::vector<LiveSample>& gas,
                                 const ParameterWords& gasSet = kDefaultParameters) {
  testing::WriteDriveLog(folder / "petrol.csv", petrol, kDefaultParameters);
  testing::WriteDriveLog(folder / "gas.csv", gas, gasSet);
  return {(folder / "petrol.csv").string(), (folder / "gas.csv").string()};
}

std::vector<std::string> CutDrive(const fs::path& folder, double mostMbar) {
  const std::vector<Hold> holds = testing::HoldsUpTo(testing::LoadRangeHolds(), mostMbar);
  return TwoLogs(folder, testing::PetrolDrive(holds), testing::GasDrive(holds, GasRight()));
}

std::vector<std::string> HigherOnGas(const fs::path& folder, double offsetMbar) {
  const std::vector<Hold> holds = testing::LoadRangeHolds();
  GasModel model = GasRight();
  model.manifoldOffsetMbar = offsetMbar;
  return TwoLogs(folder, testing::PetrolDrive(holds), testing::GasDrive(holds, model));
}

std::vector<std::string> BurstsAfterGaps(const fs::path& folder) {
  std::vector<Hold> holds = testing::LoadRangeHolds();
  const Hold burst{4200, 650, 12};
  std::vector<LiveSample> gas = testing::GasDrive(holds, GasRight());
  testing::AppendBurstsAfterGaps(gas, burst, GasRight(), 6, 1.25);
  holds.push_back(burst);
  return TwoLogs(folder, testing::PetrolDrive(holds), gas);
}

ParameterWords SetOf(std::uint16_t xAxis, TrackbarPositions positions) {
  ParameterWords words = kDefaultParameters;
  const FormulaResult formula = ApplyFormulaTo(xAxis, positions);
  words[87 - 80] = xAxis;
  words[88 - 80] = static_cast<std::uint16_t>(formula.yAxis);
  words[89 - 80] = static_cast<std::uint16_t>(formula.numerator);
  return words;
}

std::vector<std::string> XAxis2500(const fs::path& folder) {
  ParameterWords words = kDefaultParameters;
  words[87 - 80] = 2500;
  const std::vector<Hold> holds = testing::LoadRangeHolds();
  const GasModel model{FactorsAt(kOtherPositions), FactorsAt(PositionsOf(words))};
  return TwoLogs(folder, testing::PetrolDrive(holds), testing::GasDrive(holds, model), words);
}

std::vector<std::string> WriteDuringGasDrive(const fs::path& folder) {
  const std::vector<Hold> holds = testing::LoadRangeHolds();
  const GasModel before = GasRight();
  const GasModel after{kFactory, FactorsAt(kOtherPositions)};
  // The recorder kept the set written last beside the log.
  return TwoLogs(folder, testing::PetrolDrive(holds),
                 testing::Joined(testing::GasDrive(holds, before), testing::GasDrive(holds, after)),
                 SetOf(599, kOtherPositions));
}

std::vector<std::string> NoParameterFile(const fs::path& folder) {
  const std::vector<Hold> holds = testing::LoadRangeHolds();
  const Factors other = FactorsAt(kOtherPositions);
  std::vector<std::string> args = TwoLogs(folder, testing::PetrolDrive(holds),
                                          testing::GasDrive(holds, GasModel{other, other}));
  fs::remove(folder / "gas.csv.params.car");
  testing::WriteParameters(folder / "written.car", SetOf(599, kOtherPositions));
  args.push_back("--in-force");
  args.push_back((folder / "written.car").string());
  return args;
}

std::vector<std::string> OneLongLine(const fs::path& folder) {
  std::vector<std::string> args = CutDrive(folder, 1000);
  const std::string header = zav::testing::ReadFile(folder / "petrol.csv").substr(0, 2000);
  std::ofstream file(folder / "petrol.csv", std::ios::binary | std::ios::trunc);
  file << header.substr(0, header.find("\r\n") + 2) << std::string(20'000'000, ',') << "\r\n";
  return args;
}

const Case kCases[] = {
    {"WholeDrive", [](const fs::path& f) { return CutDrive(f, 1000); }, Outcome::kNoChange},
    {"DriveUpTo650mbar", [](const fs::path& f) { return CutDrive(f, 650); }, Outcome::kNoChange},
    {"DriveUpTo550mbar", [](const fs::path& f) { return CutDrive(f, 550); }, Outcome::kNoChange},
    {"Gas30mbarHigherInEachCell", [](const fs::path& f) { return HigherOnGas(f, 30); },
     Outcome::kNoChange},
    {"Gas80mbarHigherInEachCell", [](const fs::path& f) { return HigherOnGas(f, 80); },
     Outcome::kNoChange},
    {"BurstsAfterGapsAreNotHolds", BurstsAfterGaps, Outcome::kNoChange},
    {"XAxisLeavingNoWritableYAxis", XAxis2500, Outcome::kRefused, "\"Y axis\""},
    {"ParameterWriteDuringTheGasDrive", WriteDuringGasDrive, Outcome::kRefused,
     "do not follow the factors in force"},
    {"InForceFromAFileWhenNoneIsBesideTheLog", NoParameterFile, Outcome::kNoChange,
     "written.car given with --in-force", kOtherPositions},
    {"TwentyMegabyteLine", OneLongLine, Outcome::kRefused, "line 2: it has more than 23 fields"},
};

class ZavctlCalibrateFaultsTest : public ::testing::TestWithParam<Case> {};

TEST_P(ZavctlCalibrateFaultsTest, GivesNoChangeOrARefusalWithItsReason) {
  const Case& test = GetParam();
  const zav::testing::TempDir folder;
  std::vector<std::string> arguments{"calibrate", "--json"};
  for (const std::string& argument : test.make(folder.Path())) {
    arguments.push_back(argument);
  }
  const ZavctlRun run = Zavctl(arguments);
  SCOPED_TRACE(run.out.substr(0, 4000) + "\n" + run.err.substr(0, 2000));
  // Never a "Y axis" the Parameters dialog refuses, whatever the exit code.
  EXPECT_EQ(run.out.find("\"yAxis\": 42949"), std::string::npos);
  if (!test.says.empty()) {
    EXPECT_NE(run.err.find(test.says), std::string::npos);
  }
  if (test.outcome == Outcome::kRefused) {
    EXPECT_TRUE(run.code == 1 || run.code == 3) << run.code;
    return;
  }
  ASSERT_TRUE(run.code == 0 || run.code == 1) << run.code;
  const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
  if (run.code == 1) {
    EXPECT_FALSE(object["reason"].toString().isEmpty());
    return;
  }
  const QJsonObject proposal = object["proposal"].toObject();
  const QJsonObject inForce = proposal["inForce"].toObject();
  const QJsonObject proposed = proposal["proposed"].toObject();
  EXPECT_EQ(inForce["leftTrackbar"].toInt(), test.inForce.left);
  EXPECT_EQ(inForce["rightTrackbar"].toInt(), test.inForce.right);
  EXPECT_EQ(proposed["leftTrackbar"].toInt(), test.inForce.left);
  EXPECT_EQ(proposed["rightTrackbar"].toInt(), test.inForce.right);
}

INSTANTIATE_TEST_SUITE_P(Drives, ZavctlCalibrateFaultsTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace zav
