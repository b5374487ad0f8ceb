// The Calibrate window on the Qt host (offscreen), in the running program against zavsim:
// Log → "Calibrate…" opens it, the two logs chosen fill the table and the proposal, and
// "Apply to Parameters…" opens the Parameters dialog with its trackbars placed and the
// formula's values in its edits; closing it sends nothing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <chrono>
#include <cstdlib>

#include "calibration/calibration.h"
#include "hosts/qt/qt_calibration_host.h"
#include "link/wire.h"
#include "resources/parameters_template.h"
#include "tests/calibration/synthetic_drive.h"
#include "tests/e2e/program_run.h"
#include "tests/qt/zavsim_child.h"
#include "tests/sim/zavsim_process.h"
#include "tests/support/temp_dir.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;

constexpr TrackbarPositions kNeedPositions{10, 12};

class CalibrationWindowTest : public ProgramRunTest {
 protected:
  // The Parameters dialog while it is open: found by its left trackbar.
  std::optional<WindowRef> ParametersDialog() const {
    for (int id = 1; id < 20; ++id) {
      if (desktop_.ControlOf(WindowRef{id}, kLeftTrackbar) != nullptr) {
        return WindowRef{id};
      }
    }
    return std::nullopt;
  }
  int Slider(WindowRef dialog, int id) const {
    return qobject_cast<QSlider*>(desktop_.ControlOf(dialog, id))->value();
  }
};

TEST_F(CalibrationWindowTest, OpensFromTheLogMenuFillsTheTableAndApplyPlacesTheTrackbars) {
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  const testing::GasModel model{FactorsAt(kNeedPositions), FactorsAt({15, 19})};
  const std::filesystem::path petrolLog = dir_ / "petrol.csv";
  const std::filesystem::path gasLog = dir_ / "gas.csv";
  testing::WriteDriveLog(petrolLog, testing::PetrolDrive(holds), kDefaultParameters);
  testing::WriteDriveLog(gasLog, testing::GasDrive(holds, model), kDefaultParameters);

  ZavsimChild simulator(ZAVSIM_PATH, {});
  const std::optional<std::string> pty = simulator.TerminalPath(20s);
  ASSERT_TRUE(pty) << "zavsim did not start";
  SetUpProgram(*pty);
  qt::QtCalibrationHost host([this] { return desktop_.WindowOf(program_.link.mainWindow); });
  program_.calibration = &host;
  int rows = -1;
  QString proposalText;
  TrackbarPositions placed{-1, -1};
  std::string yAxis;
  std::string numerator;
  int writesBefore = -1;
  QString refusal;

  Run({{"Petrol", [&] { return OnPetrol(); },
        Command("Calibrate\u2026", {ChooseFile(petrolLog), ChooseFile(gasLog)})},
       {"window open", [&] { return host.Window() != nullptr && host.Window()->isVisible(); },
        [&] {
          host.Window()->ChooseButton(Fuel::Petrol).click();
          host.Window()->ChooseButton(Fuel::Gas).click();
        }},
       {"logs chosen", [&] { return Answered() && host.Window()->ApplyButton().isEnabled(); },
        [&] {
          rows = host.Window()->Table().rowCount();
          proposalText = host.Window()->ProposalLabel().text();
          writesBefore = device_.Count(static_cast<char>(kLetterSet));
          // The README's picture: ZAV_CALIBRATE_PICTURE=docs/pictures/calibrate.png.
          if (const char* picture = std::getenv("ZAV_CALIBRATE_PICTURE")) {
            host.Window()->grab().save(QString::fromLocal8Bit(picture));
          }
          // The program has not read the controller: its "X axis" (0) is not the one the
          // proposal was made for, so "Apply" says so and opens nothing.
          host.Window()->ApplyButton().click();
          refusal = host.Window()->Message().text();
          // As a read would leave it.
          program_.link.image.values[87 - kFirstImageRegister] = 599;
          host.Window()->ApplyButton().click();
        }},
       {"Parameters open", [&] { return ParametersDialog().has_value(); },
        [&] {
          const WindowRef dialog = *ParametersDialog();
          placed = {Slider(dialog, kLeftTrackbar), Slider(dialog, kRightTrackbar)};
          yAxis = desktop_.GetText(dialog, kYAxisEdit);
          numerator = desktop_.GetText(dialog, kNumeratorEdit);
          desktop_.WindowOf(dialog)->close();
        }},
       {"Parameters closed", [&] { return !ParametersDialog() && MainWindowIdle(); }, [] {}}},
      120s);

  EXPECT_EQ(exitCode_, 0);
  EXPECT_EQ(rows, 14);
  EXPECT_TRUE(proposalText.contains("Left        2.20 -> 2.30  (trackbar 15 -> 10)"))
      << proposalText.toStdString();
  EXPECT_TRUE(
      refusal.contains("The program holds \"X axis\" 0, but the proposal was made for "
                       "\"X axis\" 599"))
      << refusal.toStdString();
  EXPECT_EQ(placed, kNeedPositions);
  // The dialog's own formula for the placed trackbars and the "X axis" the program holds.
  const FormulaResult expected = ApplyFormulaTo(RegisterValue(program_.link.image, 87), placed);
  EXPECT_EQ(yAxis, std::to_string(expected.yAxis));
  EXPECT_EQ(numerator, std::to_string(expected.numerator));
  // Nothing was written: the fitter did not confirm.
  EXPECT_EQ(device_.Count(static_cast<char>(kLetterSet)), writesBefore);
}

// Without a parameter file beside the gas log, the window takes the controller's confirmed
// set and zavctl the set given with --in-force; given the same set, both propose the same
// and say where the factors in force came from. Before the controller's set is known the
// window proposes nothing and says what to do.
TEST(CalibrationInForceTest, TheWindowAndZavctlAgreeOnTheFactorsInForceAndTheProposal) {
  const zav::testing::TempDir folder;
  constexpr TrackbarPositions kInForce{20, 15};
  ParameterWords set = kDefaultParameters;
  const FormulaResult formula = ApplyFormulaTo(599, kInForce);
  set[88 - 80] = static_cast<std::uint16_t>(formula.yAxis);
  set[89 - 80] = static_cast<std::uint16_t>(formula.numerator);
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  testing::WriteDriveLog(folder / "petrol.csv", testing::PetrolDrive(holds), kDefaultParameters);
  testing::WriteDriveLog(folder / "gas.csv",
                         testing::GasDrive(holds, {FactorsAt(kNeedPositions), FactorsOf(set)}),
                         set);
  std::filesystem::remove(folder / "gas.csv.params.car");
  testing::WriteParameters(folder / "in-force.car", set);

  sim::testing::ChildProcess zavctl(
      ZAVCTL_PATH, {"calibrate", "--json", "--in-force", (folder / "in-force.car").string(),
                    (folder / "petrol.csv").string(), (folder / "gas.csv").string()});
  ASSERT_TRUE(zavctl.WaitForExit(std::chrono::seconds(60)));
  const QJsonObject proposed =
      QJsonDocument::fromJson(QByteArray::fromStdString(zavctl.StandardOutput()))
          .object()["proposal"]
          .toObject()["proposed"]
          .toObject();
  EXPECT_NE(zavctl.StandardError().find("given with --in-force"), std::string::npos);

  std::optional<ParameterWords> confirmed;
  CalibrationActions actions;
  actions.confirmedSet = [&confirmed] { return confirmed; };
  qt::CalibrationWindow window(actions, nullptr);
  window.SetLog(Fuel::Petrol, folder / "petrol.csv");
  window.SetLog(Fuel::Gas, folder / "gas.csv");
  EXPECT_FALSE(window.Result());
  EXPECT_TRUE(window.Message().text().contains("Read from ZAV"))
      << window.Message().text().toStdString();

  confirmed = set;
  window.SetLog(Fuel::Gas, folder / "gas.csv");
  ASSERT_TRUE(window.Result() && window.Result()->proposal);
  EXPECT_TRUE(window.Message().text().contains("from the controller's set"));
  EXPECT_EQ(window.Result()->proposal->current, PositionsOf(set));
  EXPECT_EQ(window.Result()->proposal->proposed.left, proposed["leftTrackbar"].toInt());
  EXPECT_EQ(window.Result()->proposal->proposed.right, proposed["rightTrackbar"].toInt());
  EXPECT_EQ(window.Result()->proposal->proposed, kNeedPositions);
  EXPECT_EQ(window.Logs().reads, 2);  // each log once, however often it recalculated
}

}  // namespace
}  // namespace zav::test
