// How the main window renders live values, the operating state and the parameters.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include <clocale>

#include "tests/support/program_harness.h"
#include "ui/live_display.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::ProgramHarness;

struct TimeCase {
  std::uint16_t value;
  const char* text;
};

class InjectionTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(InjectionTimeTest, ShowsMillisecondsWithTwoDecimalsHalvesUp) {
  EXPECT_EQ(InjectionTimeText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Examples, InjectionTimeTest,
                         ::testing::Values(TimeCase{0, "0.00"}, TimeCase{9, "0.00"},
                                           TimeCase{10, "0.01"}, TimeCase{30, "0.02"},
                                           TimeCase{2000, "1.00"}, TimeCase{65535, "32.77"}));

TEST(InjectionTimeTest, UsesAPointWhateverTheRegionalSettings) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  EXPECT_EQ(InjectionTimeText(2001), "1.00");
  std::setlocale(LC_NUMERIC, before.c_str());
}

struct StatusCase {
  std::uint16_t status;
  const char* text;
};

class StatusTextTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTextTest, NamesTheOperatingState) {
  EXPECT_EQ(StatusText(GetParam().status), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(States, StatusTextTest,
                         ::testing::Values(StatusCase{6, "Gas"}, StatusCase{12, "Petrol"},
                                           StatusCase{47, "Preheat"}, StatusCase{48, "Low RPM"},
                                           StatusCase{49, "Flushing"}, StatusCase{50, "Delay"},
                                           StatusCase{0x010C, "Not connect"},
                                           StatusCase{0, "Not connect"},
                                           StatusCase{51, "Not connect"}));

// The live display in the running main window, with chosen values in the live table.
class LiveDisplayTest : public ::testing::Test {
 protected:
  // Runs the window briefly, then shows `values` (row, value) as a tick would.
  void ShowAfterStart(std::initializer_list<std::pair<int, std::uint16_t>> values) {
    harness.desktop.At(50 * kMillisecond, [this, values] {
      LiveValueTable live;
      for (const auto& [row, value] : values) {
        live.values[row] = value;
      }
      ShowLiveValues(live, harness.desktop, harness.program.link.mainWindow);
    });
    harness.RunUntil(60 * kMillisecond);
  }

  ProgramHarness harness;
};

TEST_F(LiveDisplayTest, TimeRowsShowTextAndRawBar) {
  ShowAfterStart({{0, 65535}, {4, 30}, {8, 2000}});
  EXPECT_EQ(harness.MainText(1012), "32.77");
  EXPECT_EQ(harness.Main(1003).barPosition, 65535);
  EXPECT_EQ(harness.MainText(1017), "0.02");
  EXPECT_EQ(harness.Main(1008).barPosition, 30);
  EXPECT_EQ(harness.MainText(1016), "1.00") << "row 8 is BA_V, the fifth petrol row";
  EXPECT_EQ(harness.Main(1007).barPosition, 2000);
}

TEST_F(LiveDisplayTest, IntegerRowsShowTheRawValueUnsigned) {
  ShowAfterStart({{12, 65535}, {17, 812}, {16, 13950}});
  EXPECT_EQ(harness.MainText(1028), "65535");
  EXPECT_EQ(harness.MainText(1024), "812");
  EXPECT_EQ(harness.MainText(1026), "13950");
}

TEST_F(LiveDisplayTest, NarrowBarsStopAtTheEndsOfTheirRanges) {
  ShowAfterStart({{13, 2000}, {14, 999}, {18, 1500}});
  EXPECT_EQ(harness.MainText(1021), "2000");
  EXPECT_EQ(harness.Main(1106).barPosition, 1000) << "Manif fills its bar";
  EXPECT_EQ(harness.MainText(1022), "999");
  EXPECT_EQ(harness.Main(1107).barPosition, 1000) << "Regul. below 1000 leaves it empty";
  EXPECT_EQ(harness.Main(1108).barPosition, 1000);
}

TEST_F(LiveDisplayTest, BarsHaveTheirRangesAndColours) {
  harness.RunUntil(10 * kMillisecond);
  EXPECT_EQ(harness.Main(1003).barHigh, 65535);
  EXPECT_EQ(harness.Main(1003).barColour, (Colour{255, 0, 0}));
  EXPECT_EQ(harness.Main(1011).barColour, (Colour{0, 255, 0}));
  EXPECT_EQ(harness.Main(1106).barHigh, 1000);
  EXPECT_FALSE(harness.Main(1106).barColour.has_value());
  EXPECT_EQ(harness.Main(1107).barLow, 1000);
  EXPECT_EQ(harness.Main(1107).barHigh, 2500);
  EXPECT_EQ(harness.Main(1107).barColour, (Colour{255, 0, 255}));
  EXPECT_EQ(harness.Main(1108).barColour, (Colour{255, 255, 0}));
}

TEST(LiveDisplayScenarioTest, ControllerValuesAndStatusReachTheWindow) {
  ProgramHarness harness;
  harness.RunUntil(2 * kSecond);
  EXPECT_EQ(harness.MainText(1027), "Petrol");
  EXPECT_NE(harness.MainText(1024), "0") << "RPM moves";
  EXPECT_NE(harness.MainText(1012), "0.00") << "petrol injection time";
  EXPECT_EQ(harness.MainText(1085), "0") << "parameters show the empty image until read";
}

// The first ticks of silence clear the values as the controller's own "no data" would; once
// the line counts as silent (2 s) the values and the Status box say they are stale, and
// the first answers fill them again.
TEST(LiveDisplayScenarioTest, SilenceClearsTheValuesThenShowsThemStaleUntilAnswersReturn) {
  ProgramHarness harness;
  bool lost = false;
  harness.line.loseToProgram = [&lost](const std::vector<std::uint8_t>&) { return lost; };
  harness.desktop.At(kSecond, [&] { lost = true; });
  std::map<std::string, std::string> seen;
  harness.desktop.At(2500 * kMillisecond, [&] {
    seen["status cleared"] = harness.MainText(1027);
    seen["time cleared"] = harness.MainText(1012);
  });
  harness.desktop.At(5 * kSecond, [&] {
    seen["status stale"] = harness.MainText(1027);
    seen["time stale"] = harness.MainText(1012);
    seen["rpm stale"] = harness.MainText(1024);
    lost = false;
  });
  harness.RunUntil(7 * kSecond);
  EXPECT_EQ(seen["status cleared"], "Petrol");
  EXPECT_EQ(seen["time cleared"], "0.00");
  EXPECT_EQ(seen["status stale"], "\u2014");
  EXPECT_EQ(seen["time stale"], "\u2014");
  EXPECT_EQ(seen["rpm stale"], "\u2014");
  EXPECT_EQ(harness.MainText(1027), "Petrol") << "answers again";
  EXPECT_NE(harness.MainText(1024), "\u2014");
  EXPECT_NE(harness.MainText(1012), "\u2014");
}

}  // namespace
}  // namespace zav
