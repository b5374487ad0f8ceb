// The chart module loaded by the window program's stand-in for the Calibrate window: not
// before the window opens, then every call passed on; when it cannot load, the fitter is
// told what is missing and the rest goes on. The chart windows need no module: they are
// drawn by the program itself (tests/charts). This test does not link Qt Charts, so its mapping
// shows the load.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <fstream>
#include <string>
#include <vector>

#include "hosts/qt/lazy_chart_hosts.h"

namespace zav::qt {
namespace {

bool QtChartsMapped() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find("libQt6Charts") != std::string::npos) {
      return true;
    }
  }
  return false;
}

CalibrationActions QuietActions() {
  CalibrationActions actions;
  actions.chooseLog = [](Fuel) { return std::optional<std::filesystem::path>(); };
  actions.startRecording = [](Fuel, std::string& failure) {
    failure = "not here";
    return std::optional<std::filesystem::path>();
  };
  actions.stopRecording = [] { return std::optional<std::string>(); };
  actions.recording = [] { return false; };
  actions.operatingState = [] { return std::string("Petrol"); };
  actions.confirmedSet = [] { return std::optional<ParameterWords>(); };
  actions.applyToParameters = [](TrackbarPositions, std::uint16_t) {
    return std::optional<std::string>();
  };
  return actions;
}

class ChartModuleTest : public testing::Test {
 protected:
  ChartModuleLoader Loader(QString folder) {
    return ChartModuleLoader({&session_, &controllerSet_, [] { return nullptr; }}, {folder},
                             [this](const std::string& text) { told_.push_back(text); });
  }

  SessionStore session_;
  ControllerSet controllerSet_;
  std::vector<std::string> told_;
};

TEST_F(ChartModuleTest, LoadsOnTheFirstWindowAndPassesEveryCallOn) {
  ChartModuleLoader loader = Loader(ZAV_CHART_MODULE_FOLDER);
  LazyCalibrationHost calibration(loader);
  EXPECT_FALSE(loader.Loaded());
  EXPECT_FALSE(QtChartsMapped());

  const auto windowsBefore = QApplication::topLevelWidgets().size();
  calibration.ShowCalibration(QuietActions());
  ASSERT_TRUE(loader.Loaded());
  EXPECT_TRUE(QtChartsMapped());
  calibration.ShowCalibration(QuietActions());  // raised again, not opened twice
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore + 1);
  EXPECT_TRUE(told_.empty());
}

TEST_F(ChartModuleTest, SaysWhatIsMissingWhenTheModuleCannotLoadAndGoesOn) {
  ChartModuleLoader loader = Loader("/nonexistent-zavmon-folder");
  LazyCalibrationHost calibration(loader);
  EXPECT_TRUE(told_.empty());

  calibration.ShowCalibration(QuietActions());
  ASSERT_EQ(told_.size(), 1u);
  EXPECT_NE(told_[0].find("zavmon_charts"), std::string::npos) << told_[0];
  EXPECT_NE(told_[0].find("/nonexistent-zavmon-folder"), std::string::npos) << told_[0];
  EXPECT_NE(told_[0].find("libqt6charts6"), std::string::npos) << told_[0];

  calibration.ShowCalibration(QuietActions());
  EXPECT_EQ(told_.size(), 2u);
  EXPECT_FALSE(loader.Loaded());
}

}  // namespace
}  // namespace zav::qt
