// The chart module loaded by the window program's stand-ins: not before a window opens,
// then every call passed on; when it cannot load, the fitter is told what is missing and
// the rest goes on. This test does not link Qt Charts, so its mapping shows the load.
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
  LazyChartWindows charts(loader);

  charts.SessionChanged();
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(charts.LiveChart(), nullptr);
  EXPECT_FALSE(QtChartsMapped());

  charts.ShowLiveChart();
  ASSERT_TRUE(loader.Loaded());
  EXPECT_TRUE(QtChartsMapped());
  QWidget* liveChart = charts.LiveChart();
  ASSERT_NE(liveChart, nullptr);
  EXPECT_TRUE(liveChart->isVisible());
  charts.SessionChanged();

  const auto windowsBefore = QApplication::topLevelWidgets().size();
  charts.ShowLiveScatter();
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore + 1);
  EXPECT_TRUE(told_.empty());
}

TEST_F(ChartModuleTest, SaysWhatIsMissingWhenTheModuleCannotLoadAndGoesOn) {
  ChartModuleLoader loader = Loader("/nonexistent-zavmon-folder");
  LazyChartWindows charts(loader);

  charts.SessionChanged();
  EXPECT_TRUE(told_.empty());

  charts.ShowLiveChart();
  ASSERT_EQ(told_.size(), 1u);
  EXPECT_NE(told_[0].find("zavmon_charts"), std::string::npos) << told_[0];
  EXPECT_NE(told_[0].find("/nonexistent-zavmon-folder"), std::string::npos) << told_[0];
  EXPECT_NE(told_[0].find("libqt6charts6"), std::string::npos) << told_[0];

  charts.ShowLiveScatter();  // told again: each attempt tries the module again
  charts.SessionChanged();
  EXPECT_EQ(told_.size(), 2u);
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(charts.LiveChart(), nullptr);
}

}  // namespace
}  // namespace zav::qt
