// The strip chart window on the headless host, read from what it drew: a live chart follows
// new samples until paused or moved back, the wheel, keys and scroll bar move it, a click on
// a legend entry hides a series, the picture carries caption and legend, Escape closes it,
// and a log's chart shows the whole log without Pause. Following, it repaints the plot and
// time axis alone while the frame holds, and what it shows is the chart drawn whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <iterator>
#include <memory>

#include "charts/strip_chart_window.h"
#include "hosts/headless/headless_desktop.h"
#include "link/wire.h"
#include "resources/strip_chart_template.h"
#include "tests/charts/drawn_lines.h"

namespace zav {
namespace {

using headless::DrawOp;

constexpr int kHostId = 90;
constexpr int kFeedTimer = 1;

DecodedSample SampleAt(double seconds) {
  DecodedSample sample;
  sample.seconds = seconds;
  // Values that move every tick, so each line has a point per sample.
  const auto step = static_cast<float>(std::lround(seconds / 0.15) % 3);
  sample.shown.fill(2.0f + 0.5f * step);
  sample.shown[kRpmColumn] = 2000.0f + 100.0f * step;
  sample.statusKnown = true;
  sample.status = kStatusGas;
  return sample;
}

class StripChartWindowTest : public ::testing::Test {
 protected:
  // A host window that opens the chart at once and, live, adds a sample every 150 ms.
  void Run(bool live, headless::Micros until, const std::function<void()>& script = {}) {
    chart->inputs.samples = &samples;
    chart->inputs.live = live;
    chart->inputs.title = live ? "Live chart" : "drive.csv";
    chart->inputs.closed = [this] { ++closed; };
    chart->inputs.unixMs = [] { return std::int64_t{1'765'000'000'000}; };
    if (script) {
      desktop.At(until - headless::kMillisecond, script);
    }
    desktop.At(until, [this] { desktop.RequestClose(kHostId); });
    desktop.RunDialog(
        test::HostTemplate(kHostId), {}, [&](Desktop& d, WindowRef w, const DialogEvent& e) {
          if (e.message == DialogMessage::Init) {
            OpenStripChart(d, w, chart);
            d.SetTimer(w, kFeedTimer, 150);
          } else if (e.message == DialogMessage::Timer && live) {
            samples.push_back(SampleAt(samples.empty() ? 0.0 : samples.back().seconds + 0.15));
            RefreshStripChart(d, *chart);
            if (afterRefresh) {
              afterRefresh();
            }
          } else if (e.message == DialogMessage::Close) {
            d.EndDialog(w, 0);
          }
          return true;
        });
  }

  const headless::ControlState& Canvas() const {
    return desktop.Control(kStripChartTemplateId, kStripCanvas);
  }

  // The time labels along the bottom of the last paint (s), left to right.
  std::vector<std::string> TimeLabels() const {
    std::vector<std::string> labels;
    for (const DrawOp& op : Canvas().drawing) {
      if (op.kind == DrawOp::Kind::PlacedText && op.across == TextAlign::Centre &&
          op.down == TextAlign::Start) {
        labels.push_back(op.text);
      }
    }
    return labels;
  }

  // What the canvas shows, from all its paints, against the chart drawn whole afresh from the
  // samples of its latest paint: the texts where they stand, the filled boxes and the lines.
  void ExpectShowsTheChartDrawnWhole() const {
    std::deque<DecodedSample> painted = samples;
    while (painted.back().seconds > chart->drawnUpTo) {
      painted.pop_back();
    }
    std::vector<DrawOp> whole;
    headless::RecordingCanvas fresh(whole);
    DrawStripChart(fresh, Canvas().size, painted, chart->shown);
    const std::vector<std::string> shown = Placed(Canvas().drawing);
    const std::vector<std::string> drawnWhole = Placed(whole);
    EXPECT_EQ(Missing(shown, drawnWhole), "") << "shown, not in the chart drawn whole";
    EXPECT_EQ(Missing(drawnWhole, shown), "") << "in the chart drawn whole, not shown";
  }

  // What of `from` (sorted) `in` (sorted) lacks, each as often as it lacks it.
  static std::string Missing(const std::vector<std::string>& from,
                             const std::vector<std::string>& in) {
    std::vector<std::string> missing;
    std::set_difference(from.begin(), from.end(), in.begin(), in.end(),
                        std::back_inserter(missing));
    std::string listed;
    for (const std::string& item : missing) {
      listed +=
          item.substr(0, 60) + "..." + item.substr(item.size() > 60 ? item.size() - 60 : 0) + "; ";
    }
    return listed;
  }

  static std::vector<std::string> Placed(const std::vector<DrawOp>& ops) {
    std::vector<std::string> placed;
    for (const test::TextBox& text : test::TextBoxesIn(ops)) {
      placed.push_back(text.text + " at " + std::to_string(text.box.left) + "," +
                       std::to_string(text.box.top));
    }
    const auto at = [](int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); };
    std::string pen;
    for (const DrawOp& op : ops) {
      if (op.kind == DrawOp::Kind::Pen) {
        pen = at(op.colour.red, op.colour.green * 256 + op.colour.blue);
      } else if (op.kind == DrawOp::Kind::Fill && op.colour != Colour{255, 255, 255}) {
        placed.push_back("fill" + at(op.x1, op.y1) + at(op.x2, op.y2));
      } else if (op.kind == DrawOp::Kind::Polyline) {
        std::string line = "line in" + pen + ":";
        for (const PixelPoint& point : op.points) {
          line += at(point.x, point.y);
        }
        placed.push_back(line);
      }
    }
    std::sort(placed.begin(), placed.end());
    return placed;
  }

  bool DrawsLineIn(const std::vector<DrawOp>& ops, Colour colour) const {
    bool inColour = false;
    int lines = 0;
    for (const DrawOp& op : ops) {
      inColour = op.kind == DrawOp::Kind::Pen ? op.colour == colour : inColour;
      lines += op.kind == DrawOp::Kind::Polyline && inColour && op.points.size() > 2;
    }
    return lines > 0;
  }

  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  std::deque<DecodedSample> samples;
  std::shared_ptr<StripChartWindow> chart = std::make_shared<StripChartWindow>();
  std::function<void()> afterRefresh;
  int closed = 0;
};

TEST_F(StripChartWindowTest, LiveChartFollowsNewSamplesUntilPaused) {
  int pausedPaints = 0;
  desktop.At(45 * headless::kSecond, [&] {
    EXPECT_GT(Canvas().paints, 40) << "about every third tick";
    EXPECT_LT(Canvas().paints, 150);
    EXPECT_EQ(TimeLabels().front(), "15") << "the newest 30 s";
    EXPECT_EQ(TimeLabels().back(), "40");
    desktop.Press(kStripChartTemplateId, kStripPauseButton);
    EXPECT_EQ(desktop.Control(kStripChartTemplateId, kStripPauseButton).text, "Resume");
    pausedPaints = Canvas().paints;
  });
  Run(true, 60 * headless::kSecond, [&] {
    EXPECT_EQ(Canvas().paints, pausedPaints) << "paused, new samples draw nothing";
    EXPECT_EQ(TimeLabels().back(), "40");
  });
}

TEST_F(StripChartWindowTest,
       FollowingRepaintsThePlotAloneWhileTheAxesHoldAndAllOnceAValueOutgrowsThem) {
  double rpmTop = 0.0;
  bool spikeAfterTheAsk = false;
  afterRefresh = [&] {
    // A sample that outgrows the axis coming between the ask for a redraw and the paint.
    if (spikeAfterTheAsk && chart->drawnUpTo == samples.back().seconds) {
      samples.back().shown[kRpmColumn] = 9400.0f;
      spikeAfterTheAsk = false;
    }
  };
  desktop.At(30 * headless::kSecond, [&] {
    ASSERT_TRUE(Canvas().paintedPart.has_value());
    EXPECT_EQ(Canvas().paintedPart->Within(chart->layout.moving), *Canvas().paintedPart);
    ExpectShowsTheChartDrawnWhole();
    rpmTop = chart->layout.frame.axisTops[1];
    samples.back().shown[kRpmColumn] = 4700.0f;
  });
  desktop.At(40 * headless::kSecond, [&] {
    // Past the span's first 30 s it moves what was drawn by whole pixels, leftwards.
    const PixelBox& plot = chart->layout.plot;
    ASSERT_FALSE(Canvas().scrolls.empty());
    for (const headless::ScrollAsked& scroll : Canvas().scrolls) {
      EXPECT_EQ(scroll.box,
                (PixelBox{plot.left, plot.top, plot.right, chart->layout.moving.bottom}));
      EXPECT_LT(scroll.dx, 0);
      EXPECT_GT(scroll.dx, -plot.Width() / 2);
    }
    EXPECT_GT(chart->layout.frame.axisTops[1], rpmTop);
    EXPECT_TRUE(Canvas().paintedPart.has_value()) << "the spike's axis drawn, parts again";
    ExpectShowsTheChartDrawnWhole();
    rpmTop = chart->layout.frame.axisTops[1];
    spikeAfterTheAsk = true;
  });
  Run(true, 50 * headless::kSecond, [&] {
    EXPECT_FALSE(spikeAfterTheAsk);
    EXPECT_GT(chart->layout.frame.axisTops[1], rpmTop);
    ExpectShowsTheChartDrawnWhole();
  });
}

// Following, the scroll bar's handle sits at the end and only shrinks as the session grows:
// it is set again every few seconds, not on every move, and at once when the fitter moves.
TEST_F(StripChartWindowTest, AFollowingScrollBarIsAtMostFiveSecondsBehindAndCurrentOnceMoved) {
  const auto bar = [this] {
    return desktop.Control(kStripChartTemplateId, kStripScrollBar).scroll;
  };
  // The newest start the scroll bar can reach, in its tenths of a second.
  const auto current = [this] {
    return static_cast<int>(std::ceil((samples.back().seconds - 30.0) * 10));
  };
  int changes = 0;
  ScrollBarState last;
  afterRefresh = [&] {
    if (samples.back().seconds < 31.0) {
      return;
    }
    EXPECT_EQ(bar().position, bar().high) << "at the end";
    EXPECT_GE(bar().high, current() - 52) << "at " << samples.back().seconds << " s";
    changes += bar().high != last.high ? 1 : 0;
    last = bar();
  };
  Run(true, 61 * headless::kSecond, [&] {
    EXPECT_LE(changes, 7) << "30 s of following";
    EXPECT_GE(changes, 5);
    desktop.PressKey(kStripChartTemplateId, kStripCanvas, Key::Left);
    EXPECT_EQ(bar().high, current());
    EXPECT_LT(bar().position, bar().high);
  });
}

TEST_F(StripChartWindowTest, WheelBackPausesAndEndFollowsAgain) {
  Run(true, 60 * headless::kSecond, [&] {
    desktop.TurnWheel(kStripChartTemplateId, kStripCanvas, 5);  // half the span back
    EXPECT_TRUE(chart->scroll.paused);
    EXPECT_EQ(TimeLabels().back(), "40");
    const ScrollBarState bar = desktop.Control(kStripChartTemplateId, kStripScrollBar).scroll;
    EXPECT_LT(bar.position, bar.high);
    desktop.PressKey(kStripChartTemplateId, kStripCanvas, Key::End);
    EXPECT_FALSE(chart->scroll.paused);
    EXPECT_EQ(desktop.Control(kStripChartTemplateId, kStripPauseButton).text, "Pause");
  });
}

TEST_F(StripChartWindowTest, AWheelNotchOrArrowKeyStepsATenthOfTheSpanAndTheNewestEndFollows) {
  Run(true, 60 * headless::kSecond, [&] {
    const double newest = samples.back().seconds;
    // Following: drawn up to the samples of the last redraw, about a second behind at most.
    EXPECT_NEAR(chart->shown.to, newest, 1.2) << "following";
    desktop.TurnWheel(kStripChartTemplateId, kStripCanvas, 1);  // away from the user: back
    EXPECT_EQ(desktop.Control(kStripChartTemplateId, kStripPauseButton).text, "Resume");
    const double back = chart->shown.from;
    EXPECT_NEAR(back, newest - 33.0, 0.5);
    desktop.PressKey(kStripChartTemplateId, kStripCanvas, Key::Left);
    EXPECT_NEAR(chart->shown.from, back - 3.0, 1e-9);
    samples.push_back(SampleAt(newest + 5.0));  // paused: the view stays
    RefreshStripChart(desktop, *chart);
    EXPECT_NEAR(chart->shown.from, back - 3.0, 1e-9);
    // Forward again: a notch, then the arrow keys past the newest sample follow it again.
    desktop.TurnWheel(kStripChartTemplateId, kStripCanvas, -1);
    EXPECT_NEAR(chart->shown.from, back, 1e-9);
    for (int step = 0; step < 3; ++step) {
      desktop.PressKey(kStripChartTemplateId, kStripCanvas, Key::Right);
    }
    EXPECT_EQ(desktop.Control(kStripChartTemplateId, kStripPauseButton).text, "Pause");
    // Its start on the plot's whole pixels: the newest sample within the last one.
    EXPECT_GE(chart->shown.to, samples.back().seconds - 1e-9);
    EXPECT_LT(chart->shown.to, samples.back().seconds + chart->layout.pixelTime);
  });
}

TEST_F(StripChartWindowTest, ClickOnALegendEntryHidesItsSeriesAndTheSpanListChangesTheSpan) {
  Run(true, 60 * headless::kSecond, [&] {
    ASSERT_TRUE(DrawsLineIn(Canvas().drawing, kStripSeriesColours[8]));
    PixelPoint rpmEntry{};
    for (const DrawOp& op : Canvas().drawing) {
      if (op.kind == DrawOp::Kind::PlacedText && op.text == "RPM" && op.down == TextAlign::Centre &&
          op.across == TextAlign::Start) {
        rpmEntry = {op.x1 + 2, op.y1};
      }
    }
    desktop.Click(kStripChartTemplateId, kStripCanvas, rpmEntry);
    EXPECT_FALSE(DrawsLineIn(Canvas().drawing, kStripSeriesColours[8]));
    EXPECT_TRUE(DrawsLineIn(Canvas().drawing, kStripSeriesColours[0]));
    desktop.SelectListEntry(desktop.Newest(kStripChartTemplateId)->window, kStripSpanList, 3);
    desktop.Press(kStripChartTemplateId, kStripSpanList, kSelectionChange);
    EXPECT_EQ(TimeLabels().front(), "0") << "the whole session";
  });
}

TEST_F(StripChartWindowTest, PictureHasCaptionAndLegendOfTheSeriesShown) {
  desktop.QueueFileAnswer("/pictures/live.png");
  Run(true, 40 * headless::kSecond, [&] {
    chart->shown.series[4] = false;  // GAS_1 hidden
    desktop.Press(kStripChartTemplateId, kStripSaveButton);
  });
  ASSERT_EQ(desktop.FileDialogs().size(), 1u);
  EXPECT_EQ(desktop.FileDialogs()[0].options.filterPattern, "*.png");
  EXPECT_EQ(desktop.FileDialogs()[0].options.initialPath.rfind("Live-chart-", 0), 0u);
  ASSERT_EQ(desktop.SavedPictures().size(), 1u);
  const headless::SavedPicture& picture = desktop.SavedPictures()[0];
  EXPECT_EQ(picture.path, "/pictures/live.png");
  bool caption = false, gas1 = false, gas2 = false;
  for (const DrawOp& op : picture.drawing) {
    caption = caption ||
              (op.text.rfind("Live chart \u00b7 9.", 0) == 0 &&
               op.text.find(" s to 39.") != std::string::npos && op.text.ends_with(" s (30 s)"));
    gas1 = gas1 || op.text == "GAS_1";
    gas2 = gas2 || op.text == "GAS_2";
  }
  EXPECT_TRUE(caption);
  EXPECT_FALSE(gas1);
  EXPECT_TRUE(gas2);
}

TEST_F(StripChartWindowTest, EscapeClosesTheWindow) {
  Run(true, 5 * headless::kSecond, [&] {
    desktop.Press(kStripChartTemplateId, kCommandEscape);
    EXPECT_FALSE(desktop.Newest(kStripChartTemplateId)->IsOpen());
  });
  EXPECT_EQ(closed, 1);
}

TEST_F(StripChartWindowTest, LogChartShowsTheWholeLogWithoutPause) {
  for (double t = 0.0; t < 300.0; t += 0.15) {
    samples.push_back(SampleAt(t));
  }
  Run(false, 2 * headless::kSecond, [&] {
    EXPECT_TRUE(desktop.Control(kStripChartTemplateId, kStripPauseButton).hidden);
    EXPECT_EQ(desktop.Control(kStripChartTemplateId, kStripSpanList).selection, 3);
    EXPECT_EQ(desktop.Newest(kStripChartTemplateId)->title, "drive.csv");
    EXPECT_EQ(TimeLabels().front(), "0");
    EXPECT_EQ(desktop.Control(kStripChartTemplateId, kStripScrollBar).scroll.high, 0);
    desktop.PressKey(kStripChartTemplateId, kStripCanvas, Key::Home);
    EXPECT_FALSE(chart->scroll.paused);
  });
}

}  // namespace
}  // namespace zav
