#pragma once
// Which part of the samples a strip chart shows, live or paused, and how the user moves it.
//
// A live chart follows the newest sample unless paused; paused, it stays where it is and can
// go back to the first sample. A log's chart never follows. A step (wheel notch, arrow key or
// the scroll bar's arrow) moves a tenth of the span, a page a whole span. Moving a live chart
// back from the newest samples pauses it; moving it onto them follows them again.

#include "platform/desktop.h"

namespace zav {

// The samples there are: the oldest and the newest sample's time (s).
struct SampleTimes {
  double oldest = 0.0;
  double newest = 0.0;
};

struct StripScroll {
  bool live = true;
  bool paused = false;
  double span = 30.0;  // s; 0: all the samples
  double from = 0.0;   // s, where a paused chart or a log's starts
};

inline constexpr int kScrollStepsPerSecond = 10;  // the scroll bar counts tenths of a second

bool Following(const StripScroll& scroll);
// The span shown (s): all the samples (at least 1 s) for span 0.
double SpanShown(const StripScroll& scroll, SampleTimes times);
// The start of the span shown (s).
double ShownFrom(const StripScroll& scroll, SampleTimes times);

// Pauses or resumes; a paused chart starts where it stands.
void SetPaused(StripScroll& scroll, bool paused, SampleTimes times);
void SetSpan(StripScroll& scroll, double span, SampleTimes times);
// Shows from `from` (s), kept within the samples; pauses or follows a live chart as it
// leaves or reaches the newest samples.
void ShowFrom(StripScroll& scroll, double from, SampleTimes times);
// Moves by `tenths` of the span (negative: back in time).
void MoveBySteps(StripScroll& scroll, int tenths, SampleTimes times);
// What the user's key means: arrows step, Page Up and Down a span, Home and End the ends.
void MoveByKey(StripScroll& scroll, Key key, SampleTimes times);
// What a scroll bar request means, the bar being at `position` after it.
void MoveByScrollBar(StripScroll& scroll, ScrollCode code, int position, SampleTimes times);

ScrollBarState ScrollBarOf(const StripScroll& scroll, SampleTimes times);

// Seconds of newer samples after which a live chart `widthPx` wide is drawn again: about once
// a second (every seventh 150 ms tick), or on a wide span once the strip would move two pixels.
double RedrawStep(const StripScroll& scroll, SampleTimes times, int widthPx);

}  // namespace zav
