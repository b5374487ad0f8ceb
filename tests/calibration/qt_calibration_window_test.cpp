// The Calibrate window on the Qt host (offscreen), in the running program against zavsim:
// Log → "Calibrate…" opens it, the two logs chosen fill the table and the proposal, and
// "Apply to Parameters…" opens the Parameters dialog with its trackbars placed and the
// formula's values in its edits; closing it sends nothing.

#include <gtest/gtest.h>

#include <QApplication>
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
  EXPECT_EQ(placed, kNeedPositions);
  // The dialog's own formula for the placed trackbars and the "X axis" the program holds.
  const FormulaResult expected = ApplyFormulaTo(RegisterValue(program_.link.image, 87), placed);
  EXPECT_EQ(yAxis, std::to_string(expected.yAxis));
  EXPECT_EQ(numerator, std::to_string(expected.numerator));
  // Nothing was written: the fitter did not confirm.
  EXPECT_EQ(device_.Count(static_cast<char>(kLetterSet)), writesBefore);
}

}  // namespace
}  // namespace zav::test
