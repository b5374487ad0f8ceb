// The calibration assistant on made-up drives: which samples count, the load cells, the
// fit on the trackbars' grid, and the reasons it gives instead of a proposal.

#include <gtest/gtest.h>

#include "calibration/calibration.h"
#include "calibration/calibration_logs.h"
#include "calibration/calibration_text.h"
#include "tests/calibration/synthetic_drive.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using testing::Decoded;
using testing::GasDrive;
using testing::GasModel;
using testing::Hold;
using testing::LoadRangeHolds;
using testing::ModelPetrolMs;
using testing::PetrolDrive;

// The engine needs the line of trackbar positions 10 and 12 (2.30 and 1.26) over the petrol
// times the drive covers, 3.25 to 6.25 ms; the factory factors (2.20, 1.12) are in force.
constexpr TrackbarPositions kNeedPositions{10, 12};

GasModel NeedOfTheTests() {
  return GasModel{FactorsAt(kNeedPositions), FactorsAt(PositionsOf(kDefaultParameters))};
}

TEST(CalibrationTest, SettledCellsGiveTheNeedAndTheFitLandsOnItsGridPositions) {
  std::vector<Hold> holds = LoadRangeHolds();
  holds.push_back({4200.0, 650.0, 2.4});  // too short to fill its cell
  const GasModel model = NeedOfTheTests();
  const Calibration result =
      Calibrate(Decoded(PetrolDrive(holds)), Decoded(GasDrive(holds, model)), kDefaultParameters);

  // Fourteen held loads fill fourteen cells; the short hold leaves its cell short (too few
  // settled petrol samples there to compare the gas with: listed at most, never covered).
  // The ramps between holds cross other cells without settling there: no samples.
  EXPECT_EQ(result.covered, 14);
  ASSERT_GE(result.cells.size(), 14U);
  ASSERT_LE(result.cells.size(), 15U);
  EXPECT_GT(result.gas.settling, 0);
  EXPECT_GT(result.gas.moving, 0);
  EXPECT_GT(result.petrol.moving, 0);
  for (const LoadCell& cell : result.cells) {
    SCOPED_TRACE(CellTexts(cell)[0] + " rpm, " + CellTexts(cell)[1] + " mBar");
    if (cell.rpmFrom == 4000) {
      EXPECT_FALSE(cell.Covered());
      EXPECT_LT(cell.gasSamples, kLeastCellSamples);
      continue;
    }
    ASSERT_TRUE(cell.Covered());
    const double petrolMs = ModelPetrolMs(cell.manifoldFrom + 50.0);
    // Had a ramp or the seconds after the switch-over counted, the correction would be off
    // by several per cent; the times in a log have 0.01 ms steps.
    EXPECT_NEAR(cell.petrolMs, petrolMs, 0.006);
    EXPECT_NEAR(
        cell.Correction(),
        testing::ModelRatio(model.need, petrolMs) / testing::ModelRatio(model.inForce, petrolMs),
        0.003);
    EXPECT_NEAR(cell.DeliveredRatio(), testing::ModelRatio(model.inForce, petrolMs), 0.003);
    EXPECT_NEAR(cell.NeededRatio(), testing::ModelRatio(model.need, petrolMs), 0.003);
  }
  EXPECT_NEAR(result.shortestMs, ModelPetrolMs(350.0), 0.006);
  EXPECT_NEAR(result.longestMs, ModelPetrolMs(950.0), 0.006);

  ASSERT_TRUE(result.proposal) << result.reason;
  const Proposal& proposal = *result.proposal;
  EXPECT_EQ(proposal.current, (TrackbarPositions{15, 19}));
  EXPECT_EQ(proposal.proposed, kNeedPositions);
  EXPECT_FLOAT_EQ(static_cast<float>(proposal.proposedFactors.left), 2.30f);
  EXPECT_FLOAT_EQ(static_cast<float>(proposal.proposedFactors.right), 1.26f);
  EXPECT_GT(proposal.currentError, 0.03);
  EXPECT_LT(proposal.proposedError, 0.003);
  // "Y axis" and "Numerator" as the Parameters dialog gives them for those positions.
  const FormulaResult dialog = ApplyFormulaTo(599, kNeedPositions);
  EXPECT_EQ(proposal.formula.yAxis, dialog.yAxis);
  EXPECT_EQ(proposal.formula.numerator, dialog.numerator);
  EXPECT_NE(ProposalText(proposal).find("Numerator   48160 -> " + std::to_string(dialog.numerator)),
            std::string::npos)
      << ProposalText(proposal);

  // Driving again with the proposal in force: the need is met, nothing moves.
  ParameterWords applied = kDefaultParameters;
  applied[88 - 80] = static_cast<std::uint16_t>(dialog.yAxis);
  applied[89 - 80] = static_cast<std::uint16_t>(dialog.numerator);
  ASSERT_EQ(PositionsOf(applied), kNeedPositions);
  GasModel again = model;
  again.inForce = FactorsAt(kNeedPositions);
  const Calibration second =
      Calibrate(Decoded(PetrolDrive(holds)), Decoded(GasDrive(holds, again)), applied);
  ASSERT_TRUE(second.proposal);
  EXPECT_EQ(second.proposal->current, kNeedPositions);
  EXPECT_EQ(second.proposal->proposed, kNeedPositions);
  for (const LoadCell& cell : second.cells) {
    EXPECT_NEAR(cell.Correction(), 1.0, 0.003);
  }
}

// A road drive seldom holds both fuels in the same 100 mbar: a gas hold between two petrol
// holds of its RPM band is compared with the petrol drive at its own pressure, so its cell
// counts without petrol samples of its own and gives the true correction. A gas hold
// beyond the petrol drive's pressures has nothing to compare with and is left out.
TEST(CalibrationTest, AGasCellBetweenPetrolHoldsIsComparedAtItsOwnPressure) {
  const std::vector<Hold> onPetrol = {
      {1200.0, 320.0, 12.0}, {1200.0, 380.0, 12.0}, {1200.0, 520.0, 12.0}, {1200.0, 580.0, 12.0}};
  const std::vector<Hold> onGas = {{1200.0, 450.0, 20.0}, {1200.0, 900.0, 12.0}};
  const GasModel model = NeedOfTheTests();
  const Calibration result = Calibrate(Decoded(PetrolDrive(onPetrol)),
                                       Decoded(GasDrive(onGas, model)), kDefaultParameters);
  ASSERT_EQ(result.cells.size(), 1U) << CellTableText(result);
  const LoadCell& cell = result.cells.front();
  EXPECT_EQ(cell.rpmFrom, 1000);
  EXPECT_EQ(cell.manifoldFrom, 400);
  EXPECT_LT(cell.petrolSamples, kLeastCellSamples) << "only the ramps cross it on petrol";
  EXPECT_TRUE(cell.Covered());
  const double petrolMs = ModelPetrolMs(450.0);
  EXPECT_NEAR(cell.petrolMs, petrolMs, 0.01);
  EXPECT_NEAR(
      cell.Correction(),
      testing::ModelRatio(model.need, petrolMs) / testing::ModelRatio(model.inForce, petrolMs),
      0.003);
}

TEST(CalibrationTest, DrivesThatCannotPlaceTheLineGiveTheReasonAndNoProposal) {
  const GasModel model = NeedOfTheTests();
  const std::vector<Hold> threeLoads{{1200, 350, 12}, {2700, 550, 12}, {1200, 950, 12}};
  const Calibration few = Calibrate(Decoded(PetrolDrive(threeLoads)),
                                    Decoded(GasDrive(threeLoads, model)), kDefaultParameters);
  EXPECT_FALSE(few.proposal);
  EXPECT_EQ(few.covered, 3);
  EXPECT_NE(few.reason.find("too few load cells: 3 of 3"), std::string::npos) << few.reason;

  // Enough cells, but all at light load: the right end of the line cannot be placed.
  const std::vector<Hold> light{
      {1200, 350, 12}, {1700, 350, 12}, {2200, 350, 12}, {2700, 350, 12}, {3200, 350, 12}};
  const Calibration narrow =
      Calibrate(Decoded(PetrolDrive(light)), Decoded(GasDrive(light, model)), kDefaultParameters);
  EXPECT_FALSE(narrow.proposal);
  EXPECT_EQ(narrow.covered, 5);
  EXPECT_NE(narrow.reason.find("span only 3.25 to 3.25 ms"), std::string::npos) << narrow.reason;

  // A petrol drive given as the gas drive: nothing on gas, no cells at all.
  const Calibration petrolTwice =
      Calibrate(Decoded(PetrolDrive(light)), Decoded(PetrolDrive(light)), kDefaultParameters);
  EXPECT_FALSE(petrolTwice.proposal);
  EXPECT_TRUE(petrolTwice.cells.empty());
}

TEST(CalibrationLogsTest, LogsAreReadWithTheirParametersAndBadOnesRefusedWithTheReason) {
  const zav::testing::TempDir folder;
  const std::vector<Hold> holds = LoadRangeHolds();
  ParameterWords inForce = kDefaultParameters;
  inForce[88 - 80] = 3900;
  testing::WriteDriveLog(folder / "petrol.csv", PetrolDrive(holds), kDefaultParameters);
  testing::WriteDriveLog(folder / "gas.csv", GasDrive(holds, NeedOfTheTests()), inForce);

  const LoadedCalibrationLog gas = LoadCalibrationLog(folder / "gas.csv", Fuel::Gas);
  ASSERT_EQ(gas.error, "");
  EXPECT_EQ(gas.log.samples.size(), PetrolDrive(holds).size() + 20);  // 4 s before the switch
  ASSERT_TRUE(gas.log.parameters);
  EXPECT_EQ((*gas.log.parameters)[88 - 80], 3900);
  EXPECT_EQ(gas.log.note, "");

  // One log that switches over serves as both drives.
  EXPECT_EQ(LoadCalibrationLog(folder / "gas.csv", Fuel::Petrol).error, "");

  const std::string petrolOnly = LoadCalibrationLog(folder / "petrol.csv", Fuel::Gas).error;
  EXPECT_NE(petrolOnly.find("petrol.csv: only one fuel: no sample was taken on gas"),
            std::string::npos)
      << petrolOnly;

  zav::testing::WriteFile(folder / "notes.csv", "Shopping list\r\nbread,milk\r\n");
  const std::string notALog = LoadCalibrationLog(folder / "notes.csv", Fuel::Petrol).error;
  EXPECT_NE(notALog.find("notes.csv: not a data log of this program: "), std::string::npos)
      << notALog;

  // A recording cut off by a power cut: the whole rows count, the cut one is named.
  std::string text = zav::testing::ReadFile(folder / "gas.csv");
  text.resize(text.size() - 30);
  zav::testing::WriteFile(folder / "cut.csv", text);
  const LoadedCalibrationLog cut = LoadCalibrationLog(folder / "cut.csv", Fuel::Gas);
  EXPECT_EQ(cut.error, "");
  EXPECT_EQ(cut.log.samples.size(), gas.log.samples.size() - 1);
  EXPECT_NE(cut.log.note.find("was cut off"), std::string::npos) << cut.log.note;

  const std::string header = text.substr(0, text.find("\r\n") + 2);
  zav::testing::WriteFile(folder / "header.csv", header + "2025-12-06T05:46");
  const std::string cutEarly = LoadCalibrationLog(folder / "header.csv", Fuel::Gas).error;
  EXPECT_NE(cutEarly.find("header.csv: cut off"), std::string::npos) << cutEarly;
}

}  // namespace
}  // namespace zav
