// The Calibrate window's guidance and guards, toolkit-free: what must happen before a guided
// recording, the one current instruction for each stage with the fuel the controller is on,
// the verdict, and a window that reads each log once until it changes.

#include <gtest/gtest.h>

#include "calibration/calibration_guide.h"
#include "calibration/calibration_logs.h"
#include "datalog/recorder.h"
#include "tests/calibration/synthetic_drive.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

struct BeforeCase {
  Fuel fuel;
  bool otherRecording;
  std::string state;
  BeforeRecording expected;
};

TEST(CalibrationGuideTest, AGuidedRecordingAsksBeforeStoppingAnotherAndOffersToSwitchFuel) {
  const BeforeCase cases[] = {
      {Fuel::Petrol, false, "Petrol", BeforeRecording::kStart},
      {Fuel::Gas, false, "Gas", BeforeRecording::kStart},
      {Fuel::Gas, false, "", BeforeRecording::kStart},  // no state yet: nothing to offer
      {Fuel::Gas, false, "Petrol", BeforeRecording::kOfferSwitch},
      {Fuel::Petrol, false, "Gas", BeforeRecording::kOfferSwitch},
      {Fuel::Petrol, true, "Petrol", BeforeRecording::kAskStopOther},
      {Fuel::Gas, true, "Petrol", BeforeRecording::kAskStopOther},
  };
  for (const BeforeCase& test : cases) {
    SCOPED_TRACE(std::string(FuelName(test.fuel)) + " on \"" + test.state + "\"");
    EXPECT_EQ(CheckBeforeRecording(test.fuel, test.otherRecording, test.state), test.expected);
  }
  EXPECT_EQ(StopOtherQuestion("logs/drive.csv", Fuel::Gas),
            "A recording this window did not start is running (drive.csv). Stop it and record "
            "the drive on gas instead?");
  EXPECT_NE(SwitchFirstQuestion(Fuel::Gas, "Petrol").find("shows \"Petrol\", not \"Gas\""),
            std::string::npos);
  EXPECT_EQ(ClosingWhileRecordingText("logs/x-gas.csv"),
            "The recording to x-gas.csv goes on after this window closes. Stop it with \"Stop "
            "recording\" in the Log menu, or open \"Calibrate…\" again and press \"Stop\".");
}

TEST(CalibrationGuideTest, OneInstructionForEachStageNamesTheFuelTheControllerIsOn) {
  GuideFacts facts;
  facts.operatingState = "Gas";
  std::string text = Instruction(facts);
  EXPECT_EQ(text.rfind("Step 1: on petrol", 0), 0U) << text;
  EXPECT_NE(text.find("First press \"Switch\""), std::string::npos) << text;
  EXPECT_NE(text.find("[now: Gas]"), std::string::npos);

  facts.recording = Fuel::Petrol;
  facts.operatingState = "Petrol";
  facts.recordingSeconds = 125.4;
  facts.recordingCells = 7;
  text = Instruction(facts);
  EXPECT_EQ(text.rfind("Recording on petrol, 2:05, 7 load cells covered so far", 0), 0U) << text;
  EXPECT_EQ(text.find("left out"), std::string::npos);

  facts.recording.reset();
  facts.petrolLog = true;
  facts.petrolCells = 12;
  text = Instruction(facts);
  EXPECT_EQ(text.rfind("The petrol drive covers 12 load cells", 0), 0U) << text;
  EXPECT_NE(text.find("Step 2: press \"Switch\""), std::string::npos) << text;
  EXPECT_EQ(text.find("Step 1"), std::string::npos);

  // After a write the controller is on petrol again: the instruction says to switch first.
  facts.gasLog = true;
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  const Factors factory = FactorsOf(kDefaultParameters);
  const Calibration right =
      Calibrate(testing::Decoded(testing::PetrolDrive(holds)),
                testing::Decoded(testing::GasDrive(holds, {factory, factory})), kDefaultParameters);
  facts.result = &right;
  ASSERT_TRUE(right.calibrated);
  text = Instruction(facts);
  EXPECT_EQ(text.rfind("The car is calibrated: 14 cells, mismatch 0.0 % (within 1 %)", 0), 0U)
      << text;
  EXPECT_EQ(text.find("Record on gas"), std::string::npos);

  const Calibration lean =
      Calibrate(testing::Decoded(testing::PetrolDrive(holds)),
                testing::Decoded(testing::GasDrive(holds, {FactorsAt({10, 12}), factory})),
                kDefaultParameters);
  facts.result = &lean;
  text = Instruction(facts);
  EXPECT_EQ(text.rfind("Press \"Apply to Parameters…\"", 0), 0U) << text;
  EXPECT_NE(text.find("switch to gas here"), std::string::npos);
  EXPECT_EQ(ElapsedText(3599.9), "59:59");
}

// While recording, the instruction names the loads still missing: the cells held too
// briefly (the fullest first, as the nearest to done) and, on gas, the cells the petrol
// drive covered that the gas drive has not reached yet. A cell covered needs no word.
TEST(CalibrationGuideTest, WhileRecordingTheInstructionNamesTheLoadsStillToHold) {
  GuideFacts facts;
  facts.operatingState = "Gas";
  facts.recording = Fuel::Gas;
  facts.recordingSeconds = 61.0;
  facts.recordingCells = 1;
  facts.recordingCounts = {{1000, 300, 3}, {1500, 600, 25}, {2500, 800, 8}};
  facts.petrolCounts = {{1000, 300, 40}, {1500, 600, 12}, {3000, 400, 15}, {3500, 900, 2}};
  const std::string text = Instruction(facts);
  EXPECT_NE(text.find("Hold a few seconds longer at 2500-3000 rpm at 800-900 mbar (8 of 10 "
                      "settled samples); 1000-1500 rpm at 300-400 mbar (3 of 10 settled "
                      "samples)."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Still to drive, covered on petrol: 3000-3500 rpm at 400-500 mbar."),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("1500-2000"), std::string::npos) << "covered on both: " << text;
  EXPECT_EQ(text.find("3500-4000"), std::string::npos) << "not covered on petrol: " << text;

  facts.recording = Fuel::Petrol;
  facts.operatingState = "Petrol";
  facts.recordingCounts = {{500, 200, 30}};
  EXPECT_EQ(Instruction(facts).find("Still to drive"), std::string::npos)
      << "the petrol drive is the first one";
  EXPECT_EQ(Instruction(facts).find("Hold a few"), std::string::npos);
}

TEST(CalibrationGuideTest, TheWindowReadsEachLogOnceUntilItChanges) {
  const zav::testing::TempDir folder;
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  testing::WriteDriveLog(folder / "petrol.csv", testing::PetrolDrive(holds), kDefaultParameters);
  LogCache cache;
  for (int recalculation = 0; recalculation < 3; ++recalculation) {
    EXPECT_EQ(CachedLog(cache, folder / "petrol.csv", Fuel::Petrol).error, "");
  }
  EXPECT_EQ(cache.reads, 1);
  EXPECT_EQ(CellsCoveredOn(CachedLog(cache, folder / "petrol.csv", Fuel::Petrol).log.samples,
                           Fuel::Petrol),
            14);
  testing::WriteDriveLog(folder / "petrol.csv",
                         testing::PetrolDrive(testing::HoldsUpTo(holds, 500)), kDefaultParameters);
  EXPECT_EQ(CellsCoveredOn(CachedLog(cache, folder / "petrol.csv", Fuel::Petrol).log.samples,
                           Fuel::Petrol),
            4);
  EXPECT_EQ(cache.reads, 2);
}

// A parameter write during a recording splits the log, so each sample is judged against
// the factors then in force: each part holds the rows on one set, with that set beside it.
TEST(CalibrationGuideTest, AParameterWriteDuringARecordingGoesOnInTheNextPart) {
  const zav::testing::TempDir folder;
  ControllerSet before{kDefaultParameters, true};
  ControllerSet after = before;
  after.words[88 - 80] = 3900;
  const std::vector<LiveSample> samples = testing::PetrolDrive({{1200, 400, 1.0}});
  Recorder recorder;
  ASSERT_EQ(StartRecording(recorder, folder / "drive.csv", before), std::nullopt);
  RecordSample(recorder, samples[0], before);
  RecordSample(recorder, samples[1], before);
  RecordSample(recorder, samples[2], after);
  RecordSample(recorder, samples[3], after);
  EXPECT_EQ(StopRecording(recorder), std::nullopt);
  EXPECT_EQ(recorder.path, folder / "drive-part2.csv");

  const LoadedCalibrationLog first = LoadCalibrationLog(folder / "drive.csv", Fuel::Petrol);
  const LoadedCalibrationLog second = LoadCalibrationLog(folder / "drive-part2.csv", Fuel::Petrol);
  ASSERT_EQ(first.error + second.error, "");
  EXPECT_EQ(first.log.samples.size(), 2U);
  EXPECT_EQ(second.log.samples.size(), 2U);
  EXPECT_EQ((*first.log.parameters)[88 - 80], 4000);
  EXPECT_EQ((*second.log.parameters)[88 - 80], 3900);
  EXPECT_EQ(NextPartPath("a/drive-part9.csv"), std::filesystem::path("a/drive-part10.csv"));
  EXPECT_EQ(NextPartPath("zavmon-20261209-101500.csv"),
            std::filesystem::path("zavmon-20261209-101500-part2.csv"));
}

}  // namespace
}  // namespace zav
