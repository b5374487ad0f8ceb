#include "charts/strip_chart_window.h"

#include <array>
#include <string_view>

#include "charts/chart_picture.h"
#include "charts/strip_move.h"
#include "resources/strip_chart_template.h"

namespace zav {

namespace {

// While a chart follows, its scroll bar is set again every 5 s of new samples, not on
// every move: the handle stays at the end and only shrinks as the session grows, and a style
// draws each new handle length again whole (Qt 6 fills its long lines on a thread pool, a
// thread woken and waited for several times a move). Anything the fitter does sets it at once.
constexpr double kFollowingScrollBarSeconds = 5.0;

struct SpanChoice {
  std::string_view text;
  double seconds;  // 0: all the samples
};
constexpr std::array<SpanChoice, 4> kSpans{
    {{"30 s", 30.0}, {"2 min", 120.0}, {"10 min", 600.0}, {"Whole log", 0.0}}};

// What the chart shows of the samples `times`, from the scroll state; following, its start on
// whole pixels of the plot last drawn.
StripShown ShownOf(const StripChartWindow& chart, SampleTimes times) {
  const double from = ShownFrom(chart.scroll, times);
  StripShown shown = chart.shown;
  shown.pixelTime = Following(chart.scroll) ? chart.layout.pixelTime : 0.0;
  shown.column = shown.pixelTime > 0.0 ? AlignedColumn(from, shown.pixelTime) : 0;
  shown.from = shown.pixelTime > 0.0 ? static_cast<double>(shown.column) * shown.pixelTime : from;
  shown.to = shown.from + SpanShown(chart.scroll, times);
  return shown;
}

// What the chart shows now; following, the samples there were when it last moved on.
void PlaceSpan(StripChartWindow& chart) {
  chart.shown = ShownOf(chart, Following(chart.scroll) ? chart.followed : TimesOf(chart));
}

void ShowScroll(Desktop& desktop, StripChartWindow& chart) {
  chart.scrollShownUpTo = TimesOf(chart).newest;
  desktop.SetScrollBar(chart.window, kStripScrollBar, ScrollBarOf(chart.scroll, TimesOf(chart)));
  desktop.SetText(chart.window, kStripPauseButton, chart.scroll.paused ? "Resume" : "Pause");
}

// The scroll bar, the Pause button and the chart follow the scroll state.
void ShowMoved(Desktop& desktop, StripChartWindow& chart) {
  ShowScroll(desktop, chart);
  chart.followed = TimesOf(chart);
  desktop.Redraw(chart.window, kStripCanvas);
}

void Init(Desktop& desktop, StripChartWindow& chart) {
  chart.open = true;
  chart.scroll.live = chart.inputs.live;
  desktop.SetTitle(chart.window, chart.inputs.title);
  for (const SpanChoice& span : kSpans) {
    desktop.AddListEntry(chart.window, kStripSpanList, span.text);
  }
  const int first = chart.inputs.live ? 0 : static_cast<int>(kSpans.size()) - 1;
  desktop.SelectListEntry(chart.window, kStripSpanList, first);
  chart.scroll.span = kSpans[static_cast<std::size_t>(first)].seconds;
  chart.scroll.from = TimesOf(chart).oldest;
  desktop.ShowControl(chart.window, kStripPauseButton, chart.inputs.live);
  ShowMoved(desktop, chart);
}

void Paint(Desktop& desktop, StripChartWindow& chart) {
  PlaceSpan(chart);
  const StripFrame before = chart.layout.frame;
  chart.layout = DrawStripChart(desktop.ControlCanvas(chart.window, kStripCanvas),
                                desktop.ControlSize(chart.window, kStripCanvas),
                                *chart.inputs.samples, chart.shown);
  chart.movedUnpainted = false;
  chart.drawnUpTo = Following(chart.scroll) ? chart.followed.newest : TimesOf(chart).newest;
  // A paint of the moving part alone, after a sample that came since it was asked for changed
  // an axis: the frame must follow.
  if (!chart.layout.frameDrawn && chart.layout.frame != before) {
    desktop.Redraw(chart.window, kStripCanvas);
  }
}

void SavePicture(Desktop& desktop, StripChartWindow& chart) {
  StripShown shown = ShownOf(chart, TimesOf(chart));  // up to the newest sample
  shown.picture = true;
  const PixelSize size = desktop.ControlSize(chart.window, kStripCanvas);
  const std::int64_t now = chart.inputs.unixMs ? chart.inputs.unixMs() : 0;
  SaveChartPicture(
      desktop, chart.window, chart.inputs.title,
      SpanCaption(chart.inputs.title, shown.from, shown.to), size, now,
      [&](Canvas& canvas) { DrawStripChart(canvas, size, *chart.inputs.samples, shown); });
}

void Close(Desktop& desktop, StripChartWindow& chart) {
  chart.open = false;
  desktop.EndDialog(chart.window, 0);
  if (chart.inputs.closed) {
    chart.inputs.closed();
  }
}

void Command(Desktop& desktop, StripChartWindow& chart, const DialogEvent& event) {
  const SampleTimes times = TimesOf(chart);
  switch (event.id) {
    case kStripSpanList:
      if (const int chosen = desktop.SelectedListEntry(chart.window, kStripSpanList);
          chosen >= 0 && chosen < static_cast<int>(kSpans.size())) {
        SetSpan(chart.scroll, kSpans[static_cast<std::size_t>(chosen)].seconds, times);
      }
      break;
    case kStripPauseButton:
      SetPaused(chart.scroll, !chart.scroll.paused, times);
      break;
    case kStripScatterButton:
      if (chart.inputs.showScatter) {
        chart.inputs.showScatter();
      }
      return;
    case kStripSaveButton:
      SavePicture(desktop, chart);
      return;
    case kCommandEscape:
      Close(desktop, chart);
      return;
    default:
      return;
  }
  ShowMoved(desktop, chart);
}

bool Handle(Desktop& desktop, StripChartWindow& chart, const DialogEvent& event) {
  const SampleTimes times = TimesOf(chart);
  switch (event.message) {
    case DialogMessage::Init:
      Init(desktop, chart);
      return true;
    case DialogMessage::Paint:
      if (event.id == kStripCanvas) {
        Paint(desktop, chart);
      }
      return true;
    case DialogMessage::Command:
      Command(desktop, chart, event);
      return true;
    case DialogMessage::Close:
      Close(desktop, chart);
      return true;
    case DialogMessage::HorizontalScroll:
      MoveByScrollBar(chart.scroll, static_cast<ScrollCode>(event.code),
                      desktop.GetScrollPosition(chart.window, kStripScrollBar), times);
      break;
    case DialogMessage::Wheel:
      MoveBySteps(chart.scroll, -event.code, times);
      break;
    case DialogMessage::Key:
      MoveByKey(chart.scroll, static_cast<Key>(event.code), times);
      break;
    case DialogMessage::Click:
      if (const std::optional<int> series = StripSeriesAt(chart.layout, event.at)) {
        bool& on = chart.shown.series[static_cast<std::size_t>(*series)];
        on = !on;
      }
      break;
    default:
      return false;
  }
  ShowMoved(desktop, chart);
  return true;
}

}  // namespace

SampleTimes TimesOf(const StripChartWindow& chart) {
  const std::deque<DecodedSample>& samples = *chart.inputs.samples;
  return samples.empty() ? SampleTimes{}
                         : SampleTimes{samples.front().seconds, samples.back().seconds};
}

WindowRef OpenStripChart(Desktop& desktop, WindowRef owner,
                         const std::shared_ptr<StripChartWindow>& chart) {
  chart->window = desktop.OpenWindow(
      StripChartTemplate(), owner, [chart](Desktop& d, WindowRef window, const DialogEvent& event) {
        chart->window = window;
        return Handle(d, *chart, event);
      });
  return chart->window;
}

void RefreshStripChart(Desktop& desktop, StripChartWindow& chart) {
  if (!chart.open || !Following(chart.scroll)) {
    return;
  }
  const int width = desktop.ControlSize(chart.window, kStripCanvas).width;
  const SampleTimes times = TimesOf(chart);
  if (times.newest - chart.drawnUpTo < RedrawStep(chart.scroll, times, width)) {
    return;
  }
  if (times.newest - chart.scrollShownUpTo >= kFollowingScrollBarSeconds ||
      times.newest < chart.scrollShownUpTo) {
    ShowScroll(desktop, chart);
  }
  chart.followed = times;
  chart.drawnUpTo = times.newest;
  PlaceSpan(chart);
  const PixelSize size = desktop.ControlSize(chart.window, kStripCanvas);
  // While the frame stays as drawn, only the plot and the time axis move on: the axes' labels
  // and the legend are not drawn again, and what was drawn moves rather than being drawn again.
  if (StripFrameOf(size, *chart.inputs.samples, chart.shown) != chart.layout.frame ||
      chart.layout.moving.Empty()) {
    desktop.Redraw(chart.window, kStripCanvas);
    return;
  }
  const std::optional<StripMove> move = StripMoveTo(chart.layout, chart.shown);
  if (!move || chart.movedUnpainted) {  // the pixels moved last are not all painted yet
    desktop.RedrawPart(chart.window, kStripCanvas, chart.layout.moving);
    return;
  }
  if (move->dx != 0) {
    desktop.ScrollPart(chart.window, kStripCanvas, move->moved, move->dx);
    chart.movedUnpainted = true;
  }
  for (const PixelBox& part : move->painted) {
    if (!part.Empty()) {
      desktop.RedrawPart(chart.window, kStripCanvas, part);
    }
  }
}

}  // namespace zav
