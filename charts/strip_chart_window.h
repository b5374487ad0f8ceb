#pragma once
// A strip chart window (template 3200): the live chart of the session, or a log's chart.
// Its procedure keeps the state below; the host only draws and reports.
//
// Live, it follows the session as new samples come (redrawn at most every RedrawStep) and
// Pause stops it where it is; a log's chart shows the whole log first and has no Pause. The
// span list, the scroll bar, the wheel over the chart (away from the user: back in time),
// the arrow keys, Page Up and Down, Home and End move it (see StripScroll); a click on a
// series' legend entry hides or shows the series. "Save as PNG…" saves the chart under a
// caption with its span, the legend naming the series shown. Escape or the close box closes.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "charts/strip_chart.h"
#include "charts/strip_scroll.h"
#include "platform/desktop.h"

namespace zav {

struct StripChartInputs {
  const std::deque<DecodedSample>* samples = nullptr;  // outlives the window
  bool live = true;
  std::string title = "Live chart";
  std::function<void()> showScatter;     // "Petrol against gas"
  std::function<std::int64_t()> unixMs;  // the wall clock, for picture names
  std::function<void()> closed;          // after the window closed
};

struct StripChartWindow {
  StripChartInputs inputs;
  WindowRef window;
  bool open = false;
  StripScroll scroll;
  StripShown shown;
  StripLayout layout;       // as last drawn, for clicks
  double drawnUpTo = -1.0;  // the newest sample's time when last drawn (s)
  // While it follows: the samples there were when it last moved on; it shows those until it
  // moves on again, whenever the host paints.
  SampleTimes followed;
  bool movedUnpainted = false;    // pixels moved, their paint not yet done
  double scrollShownUpTo = -1.0;  // the newest sample's time when the scroll bar was set (s)
};

// Opens the window; the state lives as long as the window or the caller's pointer.
WindowRef OpenStripChart(Desktop& desktop, WindowRef owner,
                         const std::shared_ptr<StripChartWindow>& chart);

// New samples: a live chart that follows them redraws once they moved it enough.
void RefreshStripChart(Desktop& desktop, StripChartWindow& chart);

// The part of the samples the chart shows now (s).
SampleTimes TimesOf(const StripChartWindow& chart);

}  // namespace zav
