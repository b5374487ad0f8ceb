#include "charts/strip_scroll.h"

#include <algorithm>
#include <cmath>

namespace zav {

namespace {

constexpr int kStepsPerSpan = 10;
// A redraw is nearly all a live chart costs (about 1 ms of CPU, most of the chart window's
// share), so a live strip is drawn about once a second: a 30 s strip then moves 1/30 of its
// width at a time, the newest values show within a second, and the main window's figures
// stay the up-to-the-tick view (s of sample time).
constexpr double kRedrawEverySeconds = 1.0;
constexpr double kRedrawEveryPixels = 2.0;
// Within this of the newest samples a chart counts as at the live end (s): a tenth of a
// scroll bar step.
constexpr double kLiveEndSeconds = 0.01;

double LatestStart(const StripScroll& scroll, SampleTimes times) {
  return std::max(times.newest - SpanShown(scroll, times), times.oldest);
}

}  // namespace

bool Following(const StripScroll& scroll) {
  return scroll.live && !scroll.paused;
}

double SpanShown(const StripScroll& scroll, SampleTimes times) {
  return scroll.span > 0.0 ? scroll.span : std::max(times.newest - times.oldest, 1.0);
}

double ShownFrom(const StripScroll& scroll, SampleTimes times) {
  if (Following(scroll)) {
    return LatestStart(scroll, times);
  }
  return std::clamp(scroll.from, times.oldest, LatestStart(scroll, times));
}

void SetPaused(StripScroll& scroll, bool paused, SampleTimes times) {
  scroll.from = ShownFrom(scroll, times);
  scroll.paused = paused;
}

void SetSpan(StripScroll& scroll, double span, SampleTimes times) {
  scroll.from = ShownFrom(scroll, times);
  scroll.span = span;
  scroll.from = ShownFrom(scroll, times);
}

void ShowFrom(StripScroll& scroll, double from, SampleTimes times) {
  const double latest = LatestStart(scroll, times);
  scroll.from = std::clamp(from, times.oldest, latest);
  if (scroll.live) {
    scroll.paused = scroll.from < latest - kLiveEndSeconds;
  }
}

void MoveBySteps(StripScroll& scroll, int tenths, SampleTimes times) {
  const double step = SpanShown(scroll, times) / kStepsPerSpan;
  ShowFrom(scroll, ShownFrom(scroll, times) + tenths * step, times);
}

void MoveByKey(StripScroll& scroll, Key key, SampleTimes times) {
  switch (key) {
    case Key::Left:
    case Key::Up:
      MoveBySteps(scroll, -1, times);
      break;
    case Key::Right:
    case Key::Down:
      MoveBySteps(scroll, 1, times);
      break;
    case Key::PageUp:
      MoveBySteps(scroll, -kStepsPerSpan, times);
      break;
    case Key::PageDown:
      MoveBySteps(scroll, kStepsPerSpan, times);
      break;
    case Key::Home:
      ShowFrom(scroll, times.oldest, times);
      break;
    case Key::End:
      ShowFrom(scroll, times.newest, times);
      break;
  }
}

void MoveByScrollBar(StripScroll& scroll, ScrollCode code, int position, SampleTimes times) {
  switch (code) {
    case ScrollCode::ToStart:
      ShowFrom(scroll, times.oldest, times);
      return;
    case ScrollCode::ToEnd:
      ShowFrom(scroll, times.newest, times);
      return;
    default:
      ShowFrom(scroll, times.oldest + position / double{kScrollStepsPerSecond}, times);
  }
}

ScrollBarState ScrollBarOf(const StripScroll& scroll, SampleTimes times) {
  const double room = LatestStart(scroll, times) - times.oldest;
  ScrollBarState bar;
  bar.high = static_cast<int>(std::ceil(room * kScrollStepsPerSecond));
  bar.page = std::max(static_cast<int>(SpanShown(scroll, times) * kScrollStepsPerSecond), 1);
  bar.position = Following(scroll)
                     ? bar.high
                     : static_cast<int>(std::lround((ShownFrom(scroll, times) - times.oldest) *
                                                    kScrollStepsPerSecond));
  return bar;
}

double RedrawStep(const StripScroll& scroll, SampleTimes times, int widthPx) {
  return widthPx > 0 ? std::max(kRedrawEverySeconds,
                                SpanShown(scroll, times) / widthPx * kRedrawEveryPixels)
                     : kRedrawEverySeconds;
}

}  // namespace zav
