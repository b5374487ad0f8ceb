// The chart windows as the program opens them on any desktop, read from what was drawn on
// the headless host: the live chart follows the session until paused and waits on a wide
// span for a step that shows, each live window opens once and is raised after, the live
// "Petrol against gas" draws the factors in force once known, and a log opens titled by its
// file with its own "Petrol against gas".

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <set>

#include "charts/desktop_chart_windows.h"
#include "hosts/headless/headless_desktop.h"
#include "link/wire.h"
#include "params/gas_ratio_line.h"
#include "resources/scatter_template.h"
#include "resources/strip_chart_template.h"
#include "tests/charts/drawn_lines.h"

namespace zav {
namespace {

using headless::DrawOp;
using headless::kMillisecond;
using headless::kSecond;

constexpr int kChartsHostId = 91;
constexpr int kChartsFeedTimer = 1;

// A value axis as its tick labels give it: pixel to value, from the first and last label.
struct ReadAxis {
  double fromValue = 0.0;
  double toValue = 1.0;
  int fromPx = 0;
  int toPx = 1;
  double Value(int px) const {
    return fromValue + (px - fromPx) * (toValue - fromValue) / (toPx - fromPx);
  }
};

// The axis whose labels are placed by `across` and `down`: x along the bottom (centred over
// their tick), y on the left (ending at it, centred on it).
ReadAxis AxisFromLabels(const std::vector<DrawOp>& ops, TextAlign across, TextAlign down,
                        bool horizontal) {
  std::vector<std::pair<int, double>> ticks;
  for (const DrawOp& op : ops) {
    double value = 0.0;
    if (op.kind == DrawOp::Kind::PlacedText && op.across == across && op.down == down &&
        std::from_chars(op.text.data(), op.text.data() + op.text.size(), value).ec == std::errc{}) {
      ticks.emplace_back(horizontal ? op.x1 : op.y1, value);
    }
  }
  EXPECT_GE(ticks.size(), 2U);
  if (ticks.size() < 2) {
    return {};
  }
  return {ticks.front().second, ticks.back().second, ticks.front().first, ticks.back().first};
}

bool HasText(const std::vector<DrawOp>& ops, std::string_view text) {
  return std::any_of(ops.begin(), ops.end(), [&](const DrawOp& op) { return op.text == text; });
}

class ChartWindowsTest : public ::testing::Test {
 protected:
  // The main window stand-in: a sample every 150 ms tick, the session told once per tick,
  // until `until`.
  void Run(headless::Micros until) {
    desktop.At(until, [this] { desktop.RequestClose(kChartsHostId); });
    desktop.RunDialog(test::HostTemplate(kChartsHostId), {},
                      [&](Desktop& d, WindowRef w, const DialogEvent& e) {
                        if (e.message == DialogMessage::Init) {
                          host = w;
                          d.SetTimer(w, kChartsFeedTimer, 150);
                        } else if (e.message == DialogMessage::Timer && feeding) {
                          AddSample();
                          charts.SessionChanged();
                        } else if (e.message == DialogMessage::Close) {
                          d.EndDialog(w, 0);
                        }
                        return true;
                      });
  }

  void AddSample() {
    live.steadyMs += 150;
    live.statusKnown = true;
    live.status = kStatusGas;
    // BA_n 3.00 to 3.80 ms in five steps, GAS_n twice that: each sample a point of its own.
    const auto step = static_cast<std::uint16_t>(live.steadyMs / 150 % 5 * 400);
    for (std::size_t cylinder = 0; cylinder < 4; ++cylinder) {
      live.values[cylinder] = static_cast<std::uint16_t>(6000 + step);
      live.values[4 + cylinder] = static_cast<std::uint16_t>(12000 + 2 * step);
    }
    AddToSession(session, live);
  }

  const headless::ControlState& Strip() const {
    return desktop.Control(kStripChartTemplateId, kStripCanvas);
  }
  // The BA_1 line's points in the live chart's last paint.
  std::size_t Ba1Points() const {
    std::size_t points = 0;
    for (const auto& line : test::PolylinesIn(Strip().drawing, kStripSeriesColours[0])) {
      points += line.size() > 2 ? line.size() : 0;
    }
    return points;
  }

  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  SessionStore session;
  ControllerSet controllerSet;
  LiveSample live;
  WindowRef host;
  bool feeding = true;
  DesktopChartWindows charts{{&desktop, &session, &controllerSet, [this] { return host; },
                              [] { return std::int64_t{1'765'000'000'000}; }}};
};

TEST_F(ChartWindowsTest, LiveChartFollowsTheSessionUntilPausedAndOpensOnce) {
  std::size_t drawn = 0;
  std::size_t atOpen = 0;
  int paints = 0;
  desktop.At(1500 * kMillisecond, [&] {
    atOpen = session.samples.size();
    charts.ShowLiveChart();
    EXPECT_NE(charts.LiveChart(), WindowRef{});
    EXPECT_EQ(desktop.Newest(kStripChartTemplateId)->title, "Live chart");
    EXPECT_EQ(desktop.Newest(kStripChartTemplateId)->owner, host);
  });
  desktop.At(1600 * kMillisecond, [&] {
    EXPECT_EQ(Ba1Points(), atOpen);
    // The five steps of BA_1, at five heights.
    const auto line = test::PolylinesIn(Strip().drawing, kStripSeriesColours[0]).front();
    std::set<int> heights;
    for (const PixelPoint point : line) {
      heights.insert(point.y);
    }
    EXPECT_EQ(heights.size(), 5U);
    charts.ShowLiveChart();  // open: raised, not opened twice
    EXPECT_EQ(desktop.DialogsOf(kStripChartTemplateId).size(), 1U);
    EXPECT_EQ(desktop.Newest(kStripChartTemplateId)->raised, 1);
  });
  desktop.At(2500 * kMillisecond, [&] {
    // Redrawn as samples come, about every third tick.
    EXPECT_GT(Ba1Points(), atOpen);
    EXPECT_GE(Ba1Points() + 2, session.samples.size());
    desktop.Press(kStripChartTemplateId, kStripPauseButton);
    drawn = Ba1Points();
  });
  desktop.At(47500 * kMillisecond, [&] {
    EXPECT_EQ(Ba1Points(), drawn) << "paused";
    desktop.Press(kStripChartTemplateId, kStripPauseButton);  // Resume: the newest 30 s
    // The newest 30 s, and the sample either side the line runs in from.
    EXPECT_NEAR(static_cast<double>(Ba1Points()), 202.0, 1.0);
    // A 10 min strip moves under a pixel in 0.45 s: it waits for a step that shows.
    desktop.SelectListEntry(charts.LiveChart(), kStripSpanList, 2);
    desktop.Press(kStripChartTemplateId, kStripSpanList, kSelectionChange);
    paints = Strip().paints;
  });
  desktop.At(47900 * kMillisecond, [&] { EXPECT_EQ(Strip().paints, paints) << "2 ticks"; });
  desktop.At(52500 * kMillisecond, [&] { EXPECT_GT(Strip().paints, paints) << "5 s more"; });
  Run(53 * kSecond);
}

TEST_F(ChartWindowsTest, LiveScatterDrawsTheFactorsInForceOnceKnown) {
  desktop.At(3 * kSecond, [&] {
    charts.ShowLiveChart();
    desktop.Press(kStripChartTemplateId, kStripScatterButton);  // as Log → Petrol against gas
    ASSERT_NE(charts.LiveScatter(), WindowRef{});
    EXPECT_EQ(desktop.Newest(kScatterTemplateId)->title, "Petrol against gas");
  });
  desktop.At(3100 * kMillisecond, [&] {
    const auto& drawing = desktop.Control(kScatterTemplateId, kScatterCanvas).drawing;
    EXPECT_TRUE(HasText(drawing, "Factors in force: not read yet"));
    EXPECT_EQ(test::PolylinesIn(drawing, kFactorLineColour).size(), 1U) << "its legend swatch only";
    // The controller's set read as all 0: both trackbars at the top, factors 2.5 and 1.5.
    controllerSet.confirmed = true;
  });
  desktop.At(4500 * kMillisecond, [&] {
    const auto& drawing = desktop.Control(kScatterTemplateId, kScatterCanvas).drawing;
    ASSERT_TRUE(HasText(drawing, "Factors in force")) << "redrawn within a second";
    // The line's corners, read back through the axes' labels, lie on the controller's line
    // for factors 2.5 and 1.5, within a pixel.
    const auto line = test::PolylinesIn(drawing, kFactorLineColour).front();
    ASSERT_GE(line.size(), 2U);
    const ReadAxis ms = AxisFromLabels(drawing, TextAlign::Centre, TextAlign::Start, true);
    const ReadAxis ratio = AxisFromLabels(drawing, TextAlign::End, TextAlign::Centre, false);
    const double ratioPerPx = std::abs(ratio.Value(1) - ratio.Value(0));
    for (const PixelPoint& corner : line) {
      EXPECT_NEAR(ratio.Value(corner.y), GasRatioAt(Factors{2.5, 1.5}, ms.Value(corner.x)),
                  1.5 * ratioPerPx);
    }
    EXPECT_LT(ms.Value(line.front().x), 3.0) << "across the petrol times in view";
    EXPECT_GT(ms.Value(line.back().x), 3.0);
    charts.ShowLiveScatter();
    EXPECT_EQ(desktop.DialogsOf(kScatterTemplateId).size(), 1U);
    EXPECT_EQ(desktop.Newest(kScatterTemplateId)->raised, 1);
    desktop.Press(kScatterTemplateId, kCommandEscape);
    EXPECT_EQ(charts.LiveScatter(), WindowRef{});
  });
  Run(5 * kSecond);
}

TEST_F(ChartWindowsTest, ALogOpensTitledByItsFileWithItsOwnPetrolAgainstGas) {
  feeding = false;
  for (int i = 0; i < 400; ++i) {
    AddSample();
  }
  desktop.At(1 * kSecond, [&] {
    charts.ShowLog({"/somewhere/zavmon-20261208-150405.csv", session.samples, std::nullopt});
    const headless::DialogRecord& log = *desktop.Newest(kStripChartTemplateId);
    EXPECT_EQ(log.title, "zavmon-20261208-150405.csv");
    EXPECT_TRUE(log.controls.at(kStripPauseButton).hidden);
    EXPECT_EQ(charts.LiveChart(), WindowRef{}) << "not the live chart";
    desktop.Press(kStripChartTemplateId, kStripScatterButton);
    const headless::DialogRecord& scatter = *desktop.Newest(kScatterTemplateId);
    EXPECT_EQ(scatter.title, "zavmon-20261208-150405.csv \u2013 petrol against gas");
    EXPECT_EQ(scatter.owner, log.window);
    desktop.Press(kStripChartTemplateId, kStripScatterButton);  // open: raised
    EXPECT_EQ(desktop.DialogsOf(kScatterTemplateId).size(), 1U);
    EXPECT_EQ(desktop.Newest(kScatterTemplateId)->raised, 1);
  });
  desktop.At(1100 * kMillisecond, [&] {
    EXPECT_TRUE(HasText(desktop.Control(kScatterTemplateId, kScatterCanvas).drawing,
                        "Factors: no parameter file beside the log"));
    // The log's data outlives the session's: the windows hold their own copy.
    session.samples.clear();
    desktop.Press(kScatterTemplateId, kScatterPlotList, kSelectionChange);
  });
  Run(2 * kSecond);
  EXPECT_GT(desktop.Control(kScatterTemplateId, kScatterCanvas).paints, 1);
}

}  // namespace
}  // namespace zav
