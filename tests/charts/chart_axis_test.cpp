// Axis ticks: round steps, labels with only the decimals the step needs, time read on the
// clock once the span is long.

#include <gtest/gtest.h>

#include <cstdint>

#include <string>
#include <vector>

#include "charts/chart_axis.h"

namespace zav {
namespace {

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
  std::vector<std::string> labels;
  for (const AxisTick& tick : ticks) {
    labels.push_back(tick.label);
  }
  return labels;
}

TEST(ChartAxisTest, ValueAxisEndsOnARoundTopWithExactLabels) {
  EXPECT_EQ(RoundTop(2.2, 1.0), 2.5);
  EXPECT_EQ(RoundTop(0.3, 1.0), 1.0) << "the least top";
  EXPECT_EQ(RoundTop(5200.0, 100.0), 10000.0);
  EXPECT_EQ(Labels(ValueTicks(2.5)),
            (std::vector<std::string>{"0.0", "0.5", "1.0", "1.5", "2.0", "2.5"}));
  EXPECT_EQ(Labels(ValueTicks(10000.0)),
            (std::vector<std::string>{"0", "2000", "4000", "6000", "8000", "10000"}));
  EXPECT_EQ(Labels(ValueTicks(1.0)),
            (std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
  EXPECT_EQ(Labels(ValueTicks(250.0)),
            (std::vector<std::string>{"0", "50", "100", "150", "200", "250"}));
}

// An axis that need not start at 0 (the Calibrate chart's petrol times and ratios): ticks
// only inside the range, on round steps, never "-0.0".
TEST(ChartAxisTest, TicksWithinFallInsideTheRangeOnRoundSteps) {
  EXPECT_EQ(Labels(TicksWithin(0.9, 2.6, 4)),
            (std::vector<std::string>{"1.0", "1.5", "2.0", "2.5"}));
  EXPECT_EQ(Labels(TicksWithin(1.5, 8.5, 5)), (std::vector<std::string>{"2", "4", "6", "8"}));
  EXPECT_EQ(Labels(TicksWithin(-0.3, 0.3, 3)), (std::vector<std::string>{"-0.2", "0.0", "0.2"}));
  EXPECT_EQ(Labels(TicksWithin(2.0, 4.0, 2)), (std::vector<std::string>{"2", "3", "4"}))
      << "both ends when they are round";
  EXPECT_TRUE(TicksWithin(3.0, 3.0, 4).empty());
  EXPECT_TRUE(TicksWithin(1.0, 2.0, 0).empty());
}

TEST(ChartAxisTest, TimeTicksFallOnRoundSecondsAndReadAsAClockOnLongSpans) {
  EXPECT_EQ(Labels(TimeTicks(12.3, 42.3, 6)),
            (std::vector<std::string>{"15", "20", "25", "30", "35", "40"}));
  EXPECT_EQ(
      Labels(TimeTicks(0.0, 1800.0, 6)),
      (std::vector<std::string>{"0:00", "5:00", "10:00", "15:00", "20:00", "25:00", "30:00"}));
  EXPECT_EQ(Labels(TimeTicks(0.0, 36000.0, 5)),
            (std::vector<std::string>{"0:00:00", "2:00:00", "4:00:00", "6:00:00", "8:00:00",
                                      "10:00:00"}));
  EXPECT_TRUE(TimeTicks(5.0, 5.0, 6).empty()) << "no span, no ticks";
  EXPECT_EQ(TimeUnit(30.0), "s");
  EXPECT_EQ(TimeUnit(1800.0), "min:s");
  EXPECT_EQ(TimeUnit(36000.0), "h:min:s");
  for (const AxisTick& tick : TimeTicks(0.0, 600.0, 4)) {
    EXPECT_LE(tick.value, 600.0);
  }
  EXPECT_LE(TimeTicks(0.0, 600.0, 4).size(), 5u);
}

TEST(ChartAxisTest, ScaleMapsEitherWayRound) {
  const AxisScale up{0.0, 10.0, 100, 0};
  EXPECT_EQ(up.Pixel(0.0), 100);
  EXPECT_EQ(up.Pixel(10.0), 0);
  EXPECT_EQ(up.Pixel(2.5), 75);
  EXPECT_EQ((AxisScale{5.0, 5.0, 3, 9}.Pixel(5.0)), 3) << "a scale of no width";
}

// Pixels moved by the scale must be exactly those drawn anew: 30 s on a plot 578 px wide
// puts 15 s on a half pixel, 7.5 s on a quarter, and starts on whole pixels differ by any.
TEST(ChartAxisTest, ATimeMovesByTheWholePixelsItsScaleStartMovedWhateverItsFraction) {
  const double pixelTime = 30.0 / 577.0;
  for (int quarter = 1; quarter < 4 * 3600; quarter += 29) {  // 7.25 s apart, over an hour
    const double seconds = quarter * 0.25;
    const std::int64_t first = AlignedColumn(seconds - 30.0, pixelTime);
    const PixelTimeScale drawn{pixelTime, static_cast<double>(first), 40};
    for (const std::int64_t moved : {1, 19, 20, 288}) {
      const PixelTimeScale later{pixelTime, static_cast<double>(first + moved), 40};
      EXPECT_EQ(later.Pixel(seconds), drawn.Pixel(seconds) - moved) << seconds << " s";
    }
  }
  // The start rounds up to a whole pixel: it shows the newest sample within the last one.
  EXPECT_EQ(AlignedColumn(9.9 * pixelTime, pixelTime), 10);
  EXPECT_EQ(AlignedColumn(10.1 * pixelTime, pixelTime), 11);
}

}  // namespace
}  // namespace zav
