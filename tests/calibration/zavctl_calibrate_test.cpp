// zavctl calibrate as a fitter's script runs it: the table and the proposal from two logs,
// as text and as JSON, exit 1 with the reason when the drives cannot support a proposal,
// and exit 3 naming the log that cannot be used.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>

#include "calibration/calibration.h"
#include "tests/calibration/synthetic_drive.h"
#include "tests/calibration/zavctl_child.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using testing::Zavctl;
using testing::ZavctlRun;

TEST(ZavctlCalibrateTest, PrintsTheTableAndProposalAndRefusesWhatCannotSupportOne) {
  const zav::testing::TempDir folder;
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  const testing::GasModel model{FactorsAt({10, 12}), FactorsAt({15, 19})};
  const std::string petrol = (folder / "petrol.csv").string();
  const std::string gas = (folder / "gas.csv").string();
  testing::WriteDriveLog(petrol, testing::PetrolDrive(holds), kDefaultParameters);
  testing::WriteDriveLog(gas, testing::GasDrive(holds, model), kDefaultParameters);

  const ZavctlRun text = Zavctl({"calibrate", petrol, gas});
  EXPECT_EQ(text.code, 0) << text.err;
  EXPECT_NE(text.out.find("14 load cells driven on both fuels, 14 with enough settled samples; "
                          "petrol times 3.25 to 6.25 ms."),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("RPM  Manifold (mBar)  Samples petrol  Samples gas"), std::string::npos);
  EXPECT_NE(text.out.find("  Left        2.20 -> 2.30  (trackbar 15 -> 10)"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("  Right       1.12 -> 1.26  (trackbar 19 -> 12)"), std::string::npos);
  EXPECT_EQ(text.err, "Factors in force: 2.20 and 1.12, from the parameter file beside gas.csv.\n");

  const ZavctlRun json = Zavctl({"calibrate", petrol, gas, "--json"});
  EXPECT_EQ(json.code, 0) << json.err;
  const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
  EXPECT_EQ(object["covered"].toInt(), 14);
  ASSERT_EQ(object["cells"].toArray().size(), 14);
  const QJsonObject first = object["cells"].toArray()[0].toObject();
  EXPECT_EQ(first["rpmFrom"].toInt(), 1000);
  EXPECT_EQ(first["manifoldFrom"].toInt(), 300);
  EXPECT_NEAR(first["neededRatio"].toDouble(),
              testing::ModelRatio(FactorsAt({10, 12}), testing::ModelPetrolMs(350)), 0.005);
  EXPECT_TRUE(first["inFit"].toBool());
  const QJsonObject proposed = object["proposal"].toObject()["proposed"].toObject();
  EXPECT_EQ(proposed["leftTrackbar"].toInt(), 10);
  EXPECT_EQ(proposed["rightTrackbar"].toInt(), 12);
  EXPECT_EQ(proposed["yAxis"].toInteger(), ApplyFormulaTo(599, {10, 12}).yAxis);
  EXPECT_EQ(proposed["numerator"].toInteger(), ApplyFormulaTo(599, {10, 12}).numerator);
  // The factors are single-precision values: written as a person writes them, not widened.
  EXPECT_NE(json.out.find("\"leftFactor\": 2.2,"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"leftFactor\": 2.3,"), std::string::npos);
  EXPECT_NE(json.out.find("\"rightFactor\": 1.12,"), std::string::npos);

  // Three loads only: the table, no proposal, the reason, exit code 1; the same in JSON.
  const std::vector<testing::Hold> few{{1200, 350, 12}, {2700, 650, 12}, {1200, 950, 12}};
  const std::string fewPetrol = (folder / "few-petrol.csv").string();
  const std::string fewGas = (folder / "few-gas.csv").string();
  testing::WriteDriveLog(fewPetrol, testing::PetrolDrive(few), kDefaultParameters);
  testing::WriteDriveLog(fewGas, testing::GasDrive(few, model), kDefaultParameters);
  const ZavctlRun tooFew = Zavctl({"calibrate", fewPetrol, fewGas});
  EXPECT_EQ(tooFew.code, 1);
  EXPECT_NE(tooFew.out.find("3 load cells driven on both fuels"), std::string::npos);
  EXPECT_EQ(tooFew.out.find("Proposed"), std::string::npos);
  EXPECT_NE(tooFew.err.find("zavctl: no proposal: too few load cells: 3 of 3"), std::string::npos)
      << tooFew.err;
  const ZavctlRun tooFewJson = Zavctl({"calibrate", "--json", fewPetrol, fewGas});
  EXPECT_EQ(tooFewJson.code, 1);
  const QJsonObject refused =
      QJsonDocument::fromJson(QByteArray::fromStdString(tooFewJson.out)).object();
  EXPECT_TRUE(refused["proposal"].isNull());
  EXPECT_TRUE(refused["reason"].toString().startsWith("too few load cells"));

  // The petrol drive given as the gas drive, and something that is no log at all.
  const ZavctlRun swapped = Zavctl({"calibrate", petrol, petrol});
  EXPECT_EQ(swapped.code, 3);
  EXPECT_NE(swapped.err.find("petrol.csv: only one fuel: no sample was taken on gas"),
            std::string::npos)
      << swapped.err;
  EXPECT_EQ(swapped.out, "");
  zav::testing::WriteFile(folder / "gas.car", "not parameters");
  const ZavctlRun notLog = Zavctl({"calibrate", petrol, (folder / "gas.car").string()});
  EXPECT_EQ(notLog.code, 3);
  EXPECT_NE(notLog.err.find("gas.car: not a data log of this program"), std::string::npos)
      << notLog.err;
}

}  // namespace
}  // namespace zav
