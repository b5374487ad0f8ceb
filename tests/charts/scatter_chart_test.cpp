// "Petrol against gas" read from what was drawn: the factors' line follows the controller's
// one line across the petrol times in view, each point's mark sits where its numbers say,
// the second plot has the 1:1 line, the legend names every set whole, and the cylinders
// differ by mark, older and recent points alike.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "charts/scatter_chart.h"
#include "hosts/headless/recording_canvas.h"
#include "params/gas_ratio_line.h"
#include "tests/charts/drawn_lines.h"

namespace zav {
namespace {

using headless::DrawOp;

constexpr PixelSize kScatterSize{763, 520};

PixelPoint CentreOf(const std::vector<PixelPoint>& outline) {
  const auto [left, right] = std::minmax_element(
      outline.begin(), outline.end(), [](PixelPoint a, PixelPoint b) { return a.x < b.x; });
  const auto [top, bottom] = std::minmax_element(
      outline.begin(), outline.end(), [](PixelPoint a, PixelPoint b) { return a.y < b.y; });
  return {(left->x + right->x) / 2, (top->y + bottom->y) / 2};
}

bool MarkNear(const std::vector<std::vector<PixelPoint>>& marks, PixelPoint at, int reach) {
  return std::any_of(marks.begin(), marks.end(), [&](const std::vector<PixelPoint>& mark) {
    const PixelPoint centre = CentreOf(mark);
    return std::abs(centre.x - at.x) <= reach && std::abs(centre.y - at.y) <= reach;
  });
}

// A mark's shape as its outline tells it: corners, and whether it starts on a corner.
std::string ShapeOf(const std::vector<PixelPoint>& outline) {
  const PixelPoint centre = CentreOf(outline);
  const bool startsOffAxis = outline[0].x != centre.x && outline[0].y != centre.y;
  return std::to_string(outline.size()) + (startsOffAxis ? " off" : " on");
}

DecodedSample Sample(double seconds, float petrolMs, float gasMs) {
  DecodedSample sample;
  sample.seconds = seconds;
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    sample.shown[static_cast<std::size_t>(kFirstPetrolColumn + cylinder)] = petrolMs;
    sample.shown[static_cast<std::size_t>(kFirstGasColumn + cylinder)] = gasMs;
  }
  return sample;
}

struct DrawnScatter {
  std::vector<DrawOp> ops;
  ScatterLayout layout;
};

DrawnScatter DrawScatter(const std::deque<DecodedSample>& samples, const ScatterShown& shown) {
  DrawnScatter drawn;
  headless::RecordingCanvas canvas(drawn.ops);
  drawn.layout =
      DrawScatterChart(canvas, kScatterSize, ScatterPoints(samples, {0, samples.size()}), shown);
  return drawn;
}

TEST(ScatterChart, DrawsTheFactorsLineAndThePointsWhereTheNumbersSay) {
  // Two samples: 3.0 ms at ratio 2.0 and 5.0 ms at ratio 1.2; the factors' line is the
  // controller's (2.0 up to 2.5 ms, 1.2 from 7 ms), drawn across the petrol times in view,
  // not between the points.
  const std::deque<DecodedSample> samples{Sample(0.0, 3.0f, 6.0f), Sample(0.15, 5.0f, 6.0f)};
  const DrawnScatter ratio = DrawScatter(samples, {ScatterPlot::Ratio, Factors{2.0, 1.2}, ""});
  const ScatterLayout& at = ratio.layout;
  const auto lineAt = [](double ms) { return 2.0 - 0.8 * (ms - 2.5) / 4.5; };
  const auto lines = test::PolylinesIn(ratio.ops, kFactorLineColour);
  ASSERT_EQ(lines.size(), 2U) << "the legend's swatch and the line";
  const std::vector<PixelPoint>& line = lines[0];
  ASSERT_GE(line.size(), 2U);
  EXPECT_EQ(line.front().x, at.plot.left);
  EXPECT_EQ(line.back().x, at.plot.right - 1);
  // Each corner lies on the line: from its pixel back to ms and ratio.
  for (const PixelPoint& corner : line) {
    const double ms =
        at.x.from + (corner.x - at.x.fromPx) * (at.x.to - at.x.from) / (at.x.toPx - at.x.fromPx);
    EXPECT_NEAR(corner.y, at.y.Pixel(lineAt(std::clamp(ms, 2.5, 7.0))), 1) << ms;
  }
  // Both samples are recent; the last cylinder is drawn on top.
  const auto recent = test::PolylinesIn(ratio.ops, RecentPointColour(3));
  EXPECT_TRUE(MarkNear(recent, {at.x.Pixel(3.0), at.y.Pixel(2.0)}, 1));
  EXPECT_TRUE(MarkNear(recent, {at.x.Pixel(5.0), at.y.Pixel(1.2)}, 1));
  EXPECT_FALSE(MarkNear(recent, {at.x.Pixel(3.0), at.y.Pixel(1.4)}, 3));
  EXPECT_TRUE(test::PolylinesIn(ratio.ops, OlderPointColour(0)).size() == 1U) << "only its legend";

  // The second plot: gas against petrol, with the 1:1 line from the origin.
  const DrawnScatter gas = DrawScatter(samples, {ScatterPlot::Gas, Factors{2.0, 1.2}, ""});
  const auto gasRecent = test::PolylinesIn(gas.ops, RecentPointColour(0));
  EXPECT_TRUE(MarkNear(gasRecent, {gas.layout.x.Pixel(3.0), gas.layout.y.Pixel(6.0)}, 1));
  const auto oneToOne = test::PolylinesIn(gas.ops, kFactorLineColour).front();
  ASSERT_EQ(oneToOne.size(), 2U);
  EXPECT_EQ(oneToOne[0], (PixelPoint{gas.layout.plot.left, gas.layout.plot.bottom - 1}));
  EXPECT_EQ(gas.layout.x.to, gas.layout.y.to);
  EXPECT_EQ(oneToOne[1], (PixelPoint{gas.layout.plot.right - 1, gas.layout.plot.top}));
}

TEST(ScatterChart, NoTextCoversAnother) {
  // Ratios up to 2.5 put a tick label at the plot's top, under the value axis's title.
  const std::deque<DecodedSample> samples{Sample(0.0, 2.5f, 6.25f), Sample(1.0, 6.5f, 9.0f)};
  for (const ScatterPlot plot : {ScatterPlot::Ratio, ScatterPlot::Gas}) {
    const DrawnScatter drawn = DrawScatter(samples, {plot, Factors{2.4, 1.3}, ""});
    EXPECT_EQ(test::OverlappingTexts(drawn.ops), "") << static_cast<int>(plot);
  }
}

TEST(ScatterChart, WithoutFactorsTheLegendSaysWhyAndNoLineIsDrawn) {
  const std::deque<DecodedSample> samples{Sample(0.0, 3.0f, 6.0f)};
  const DrawnScatter drawn =
      DrawScatter(samples, {ScatterPlot::Ratio, std::nullopt, "Factors: none here"});
  EXPECT_EQ(test::PolylinesIn(drawn.ops, kFactorLineColour).size(), 1U) << "only its legend swatch";
  EXPECT_EQ(drawn.layout.legend.back(), "Factors: none here");
}

TEST(ScatterChart, TheLegendShowsWholeAndTheCylindersDifferByMark) {
  // 90 s on gas; the ratio falls with the petrol time and differs a little per cylinder.
  std::deque<DecodedSample> samples(600);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].seconds = static_cast<double>(i) * 0.15;
    const double petrolMs = 2.5 + 2.0 * (1.0 + std::sin(samples[i].seconds / 5.0));
    for (std::size_t cylinder = 0; cylinder < 4; ++cylinder) {
      const double gasMs = petrolMs * (2.4 - 0.15 * petrolMs) * (1.0 + 0.04 * cylinder);
      samples[i].shown[kFirstPetrolColumn + cylinder] = static_cast<float>(petrolMs);
      samples[i].shown[kFirstGasColumn + cylinder] = static_cast<float>(gasMs);
    }
  }
  const std::vector<std::string> cylinders{"Cylinder 1",
                                           "Cylinder 2",
                                           "Cylinder 3",
                                           "Cylinder 4",
                                           "Cylinder 1, last 10 s",
                                           "Cylinder 2, last 10 s",
                                           "Cylinder 3, last 10 s",
                                           "Cylinder 4, last 10 s"};
  for (const ScatterPlot plot : {ScatterPlot::Ratio, ScatterPlot::Gas}) {
    const DrawnScatter drawn =
        DrawScatter(samples, {plot, std::nullopt, "Factors in force: not read yet"});
    std::vector<std::string> expected = cylinders;
    expected.push_back(plot == ScatterPlot::Ratio ? "Factors in force: not read yet" : "1:1");
    EXPECT_EQ(drawn.layout.legend, expected);
    // Every name is drawn whole, inside the picture and clear of the plot.
    for (const std::string& name : expected) {
      const auto text = std::find_if(drawn.ops.begin(), drawn.ops.end(), [&](const DrawOp& op) {
        return op.kind == DrawOp::Kind::PlacedText && op.text == name;
      });
      ASSERT_NE(text, drawn.ops.end()) << name;
      EXPECT_GT(text->x1, drawn.layout.plot.right) << name;
      EXPECT_LE(text->x1 + static_cast<int>(name.size()) * headless::kCharWidthPx,
                kScatterSize.width)
          << name;
    }
    // A mark per cylinder, the same for its older and recent points and in the legend, so a
    // picture printed in grey still tells them apart.
    std::set<std::string> shapes;
    for (int cylinder = 0; cylinder < 4; ++cylinder) {
      std::set<std::string> own;
      for (const Colour colour : {OlderPointColour(cylinder), RecentPointColour(cylinder)}) {
        const auto marks = test::PolylinesIn(drawn.ops, colour);
        ASSERT_GE(marks.size(), 2U) << cylinder;
        for (const auto& mark : marks) {
          own.insert(ShapeOf(mark));
        }
      }
      EXPECT_EQ(own.size(), 1U) << cylinder;
      shapes.insert(*own.begin());
    }
    EXPECT_EQ(shapes.size(), 4U);
  }
}

TEST(ScatterChart, ManyPointsOnOnePixelAreDrawnOnce) {
  std::deque<DecodedSample> samples(2000, Sample(0.0, 4.0f, 6.0f));
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].seconds = 100.0 + static_cast<double>(i) * 0.15;  // none recent but the last
  }
  const DrawnScatter drawn = DrawScatter(samples, {ScatterPlot::Gas, std::nullopt, ""});
  EXPECT_EQ(test::PolylinesIn(drawn.ops, OlderPointColour(1)).size(), 2U)
      << "one mark and the legend";
}

}  // namespace
}  // namespace zav
