// The strip chart as drawn: read from the canvas calls the headless host records.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "charts/chart_axis.h"
#include "charts/strip_chart.h"
#include "hosts/headless/recording_canvas.h"
#include "link/wire.h"
#include "tests/charts/drawn_lines.h"
#include "tests/support/comma_locale.h"

namespace zav {
namespace {

using headless::DrawOp;
using headless::RecordingCanvas;

constexpr PixelSize kStripSize{800, 400};
constexpr int kBa1 = 0, kGas2 = 5, kRpm = 8;

// Samples every 150 ms over [from, to) (s), petrol times near 2.2 ms, on petrol.
void AddSamples(std::deque<DecodedSample>& samples, double from, double to) {
  for (double t = from; t < to; t += 0.15) {
    DecodedSample sample;
    sample.seconds = t;
    for (int c = 0; c < 8; ++c) {
      sample.shown[static_cast<std::size_t>(c)] = 2.0f + 0.2f * static_cast<float>(c % 2);
    }
    sample.shown[kRpmColumn] = 2400.0f;
    sample.statusKnown = true;
    sample.status = kStatusPetrol;
    samples.push_back(sample);
  }
}

struct DrawnStrip {
  std::vector<DrawOp> ops;
  StripLayout layout;
};

DrawnStrip DrawStrip(const std::deque<DecodedSample>& samples, const StripShown& shown) {
  DrawnStrip drawn;
  RecordingCanvas canvas(drawn.ops);
  drawn.layout = DrawStripChart(canvas, kStripSize, samples, shown);
  return drawn;
}

StripShown Only(int series, double from, double to) {
  StripShown shown{.from = from, .to = to};
  shown.series.fill(false);
  shown.series[static_cast<std::size_t>(series)] = true;
  return shown;
}

TEST(StripChartTest, AGapBreaksTheLineAndNothingIsDrawnAcrossIt) {
  std::deque<DecodedSample> samples;
  AddSamples(samples, 0.0, 10.0);
  AddSamples(samples, 15.0, 30.0);
  const DrawnStrip drawn = DrawStrip(samples, Only(kBa1, 0.0, 30.0));
  // The legend's swatch is a polyline in the colour too: it lies outside the plot.
  std::vector<std::vector<PixelPoint>> lines;
  for (const auto& line : test::PolylinesIn(drawn.ops, kStripSeriesColours[kBa1])) {
    if (drawn.layout.plot.Contains(line.front())) {
      lines.push_back(line);
    }
  }
  ASSERT_EQ(lines.size(), 2u);
  const PixelBox& plot = drawn.layout.plot;
  const double pxPerSecond = (plot.Width() - 1) / 30.0;
  EXPECT_LE(lines[0].back().x, plot.left + static_cast<int>(10.0 * pxPerSecond) + 1);
  EXPECT_GE(lines[1].front().x, plot.left + static_cast<int>(15.0 * pxPerSecond) - 1);
}

TEST(StripChartTest, AHiddenSeriesIsNotDrawnNorItsAxisButKeepsAGreyedLegendEntry) {
  std::deque<DecodedSample> samples;
  AddSamples(samples, 0.0, 30.0);
  StripShown shown{.from = 0.0, .to = 30.0};
  shown.series[kGas2] = false;
  shown.series[kRpm] = false;
  const DrawnStrip drawn = DrawStrip(samples, shown);
  EXPECT_TRUE(test::PolylinesIn(drawn.ops, kStripSeriesColours[kGas2]).empty());
  EXPECT_TRUE(test::PolylinesIn(drawn.ops, kStripSeriesColours[kRpm]).empty());
  EXPECT_FALSE(test::PolylinesIn(drawn.ops, kStripSeriesColours[kBa1]).empty());
  int rpmAxisTitles = 0;
  bool gasEntry = false;
  for (const DrawOp& op : drawn.ops) {
    rpmAxisTitles +=
        op.kind == DrawOp::Kind::PlacedText && op.text == "RPM" && op.down == TextAlign::End;
    gasEntry = gasEntry || (op.kind == DrawOp::Kind::PlacedText && op.text == "GAS_2");
  }
  EXPECT_EQ(rpmAxisTitles, 0);
  EXPECT_TRUE(gasEntry);
  // In a picture the hidden series are left out of the legend.
  shown.picture = true;
  const DrawnStrip picture = DrawStrip(samples, shown);
  EXPECT_TRUE(std::none_of(picture.ops.begin(), picture.ops.end(),
                           [](const DrawOp& op) { return op.text == "GAS_2"; }));
}

TEST(StripChartTest, ThinnedToThePixelColumnsWithoutLosingAPeak) {
  std::deque<DecodedSample> samples;
  AddSamples(samples, 0.0, 600.0);  // 4000 samples
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].shown[kFirstPetrolColumn] = 2.0f + 0.25f * static_cast<float>(i % 9);  // jagged
  }
  samples[2001].shown[kFirstPetrolColumn] = 9.0f;  // one sample's spike
  const DrawnStrip drawn = DrawStrip(samples, Only(kBa1, 0.0, 600.0));
  const auto lines = test::PolylinesIn(drawn.ops, kStripSeriesColours[kBa1]);
  ASSERT_FALSE(lines.empty());
  const std::vector<PixelPoint>& line = lines.front();
  const auto columns = static_cast<std::size_t>(drawn.layout.plot.Width());
  EXPECT_LE(line.size(), 4u * columns) << "a few points per column";
  EXPECT_GE(line.size() + 2, columns) << "every column has its own";
  // The spike reaches its height, 9 ms on the axis of 10 ms, in the line or in a column
  // filled where the line swings up and down within it.
  const PixelBox& plot = drawn.layout.plot;
  int top = plot.bottom;
  for (const PixelPoint point : line) {
    top = std::min(top, point.y);
  }
  for (const DrawOp& op : drawn.ops) {
    if (op.kind == DrawOp::Kind::Fill && op.colour == kStripSeriesColours[kBa1] &&
        op.x2 - op.x1 == 1) {
      top = std::min(top, op.y1);
    }
  }
  const AxisScale ms{0.0, 10.0, plot.bottom - 1, plot.top};
  EXPECT_EQ(top, ms.Pixel(9.0));
  // A steady value draws a line of its two ends, however many samples it holds.
  const DrawnStrip flat = DrawStrip(samples, Only(kGas2, 0.0, 600.0));
  EXPECT_EQ(test::PolylinesIn(flat.ops, kStripSeriesColours[kGas2]).front().size(), 2u);
  // The time axis's unit stands clear of the last label, which reaches past the plot.
  const DrawOp* lastLabel = nullptr;
  const DrawOp* unit = nullptr;
  for (const DrawOp& op : flat.ops) {
    lastLabel = op.text == "10:00" ? &op : lastLabel;
    unit = op.text == "min:s" ? &op : unit;
  }
  ASSERT_NE(lastLabel, nullptr);
  ASSERT_NE(unit, nullptr);
  EXPECT_GT(unit->x1, lastLabel->x1 + 5 * headless::kCharWidthPx / 2);
}

TEST(StripChartTest, BandsShowThePetrolState) {
  std::deque<DecodedSample> samples;
  AddSamples(samples, 0.0, 30.0);
  const DrawnStrip drawn = DrawStrip(samples, Only(kBa1, 0.0, 60.0));
  const PixelBox& plot = drawn.layout.plot;
  const auto band = std::find_if(drawn.ops.begin(), drawn.ops.end(), [&](const DrawOp& op) {
    return op.kind == DrawOp::Kind::Fill && op.colour == Colour{255, 225, 225} &&
           op.y1 == plot.top && op.y2 == plot.bottom;
  });
  ASSERT_NE(band, drawn.ops.end());
  EXPECT_EQ(band->x1, plot.left);
  EXPECT_NEAR(band->x2, plot.left + plot.Width() / 2, 3) << "the petrol half of the span";
}

TEST(StripChartTest, UnderACommaLocaleTickLabelsCarryADecimalPoint) {
  testing::CommaLocale locale;
  ZAV_ENTER_COMMA_LOCALE(locale);
  std::deque<DecodedSample> samples;
  AddSamples(samples, 0.0, 30.0);
  const DrawnStrip drawn = DrawStrip(samples, StripShown{.from = 0.0, .to = 30.0});
  bool half = false;
  for (const DrawOp& op : drawn.ops) {
    if (op.kind == DrawOp::Kind::PlacedText) {
      EXPECT_EQ(op.text.find(','), std::string::npos) << op.text;
      half = half || op.text == "0.5";
    }
  }
  EXPECT_TRUE(half) << "the ms axis of 2.2 ms times counts in halves";
}

TEST(StripChartTest, NoTextCoversAnotherWithEveryAxisAtItsWidest) {
  std::deque<DecodedSample> samples;
  AddSamples(samples, 0.0, 3600.0);
  for (DecodedSample& sample : samples) {
    sample.shown[kRpmColumn] = 6500.0f;
    sample.shown[kManifoldColumn] = 1950.0f;
    sample.shown[kRegulatorColumn] = 2950.0f;
    sample.shown[kTemperatureColumn] = 115.0f;
    sample.shown[kLambdaColumn] = 950.0f;
  }
  for (const double span : {30.0, 600.0, 3600.0}) {
    const DrawnStrip drawn = DrawStrip(samples, StripShown{.from = 3600.0 - span, .to = 3600.0});
    EXPECT_EQ(test::OverlappingTexts(drawn.ops), "") << span << " s";
  }
}

TEST(StripChartTest, AClickOnALegendEntryFindsItsSeriesAndNotABand) {
  std::deque<DecodedSample> samples;
  AddSamples(samples, 0.0, 30.0);
  const DrawnStrip drawn = DrawStrip(samples, StripShown{.from = 0.0, .to = 30.0});
  for (const DrawOp& op : drawn.ops) {
    if (op.kind != DrawOp::Kind::PlacedText) {
      continue;
    }
    const PixelPoint onName{op.x1 + 3, op.y1};
    if (op.text == "GAS_2") {
      EXPECT_EQ(StripSeriesAt(drawn.layout, onName), kGas2);
    } else if (op.text == "Gas") {
      EXPECT_EQ(StripSeriesAt(drawn.layout, onName), std::nullopt);
    }
  }
  EXPECT_EQ(StripSeriesAt(drawn.layout, {kStripSize.width / 2, kStripSize.height / 3}),
            std::nullopt);
}

}  // namespace
}  // namespace zav
