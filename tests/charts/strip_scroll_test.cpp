// Pausing and scrolling a strip chart: a live chart follows until moved back, pauses there,
// follows again on reaching the newest samples; steps and pages are tenths and wholes of the
// span; the scroll bar stands where the chart does.

#include <gtest/gtest.h>

#include "charts/strip_scroll.h"

namespace zav {
namespace {

constexpr SampleTimes kTimes{100.0, 400.0};  // 5 min of samples (s)

TEST(StripScrollTest, LiveChartFollowsUntilMovedBackAndFollowsAgainAtTheEnd) {
  StripScroll scroll;  // live, 30 s
  EXPECT_EQ(ShownFrom(scroll, kTimes), 370.0);
  MoveByKey(scroll, Key::Left, kTimes);
  EXPECT_TRUE(scroll.paused);
  EXPECT_DOUBLE_EQ(ShownFrom(scroll, kTimes), 367.0);
  EXPECT_EQ(ShownFrom(scroll, {100.0, 500.0}), 367.0) << "paused: new samples do not move it";
  MoveBySteps(scroll, 1, kTimes);
  EXPECT_FALSE(scroll.paused) << "back at the newest samples";
  MoveByKey(scroll, Key::Home, kTimes);
  EXPECT_EQ(ShownFrom(scroll, kTimes), 100.0);
  MoveByKey(scroll, Key::PageDown, kTimes);
  EXPECT_EQ(ShownFrom(scroll, kTimes), 130.0);
  MoveByKey(scroll, Key::End, kTimes);
  EXPECT_TRUE(Following(scroll));
}

TEST(StripScrollTest, PauseKeepsThePlaceAndResumeFollows) {
  StripScroll scroll;
  SetPaused(scroll, true, kTimes);
  EXPECT_EQ(ShownFrom(scroll, {100.0, 460.0}), 370.0);
  SetPaused(scroll, false, kTimes);
  EXPECT_EQ(ShownFrom(scroll, {100.0, 460.0}), 430.0);
}

TEST(StripScrollTest, ScrollBarStandsWhereTheChartDoesAndMovesIt) {
  StripScroll scroll;
  scroll.span = 120.0;
  const ScrollBarState live = ScrollBarOf(scroll, kTimes);
  EXPECT_EQ(live.high, 1800);  // 180 s of room in tenths
  EXPECT_EQ(live.page, 1200);
  EXPECT_EQ(live.position, 1800);
  MoveByScrollBar(scroll, ScrollCode::ThumbTrack, 600, kTimes);
  EXPECT_TRUE(scroll.paused);
  EXPECT_EQ(ShownFrom(scroll, kTimes), 160.0);
  EXPECT_EQ(ScrollBarOf(scroll, kTimes).position, 600);
  MoveByScrollBar(scroll, ScrollCode::ToEnd, 0, kTimes);
  EXPECT_FALSE(scroll.paused);
}

TEST(StripScrollTest, LogChartShowsEverythingAndNeverFollows) {
  StripScroll scroll{.live = false, .paused = false, .span = 0.0, .from = 0.0};
  EXPECT_EQ(SpanShown(scroll, kTimes), 300.0);
  EXPECT_EQ(ShownFrom(scroll, kTimes), 100.0);
  SetSpan(scroll, 30.0, kTimes);
  MoveByKey(scroll, Key::End, kTimes);
  EXPECT_EQ(ShownFrom(scroll, kTimes), 370.0);
  EXPECT_FALSE(Following(scroll));
  EXPECT_EQ(SpanShown(scroll, {5.0, 5.0}), 0.0 + 30.0);
}

TEST(StripScrollTest, WideSpansRedrawOnlyWhenTheStripMovesTwoPixels) {
  StripScroll scroll;
  EXPECT_EQ(RedrawStep(scroll, kTimes, 600), 1.0);
  scroll.span = 600.0;
  EXPECT_EQ(RedrawStep(scroll, kTimes, 600), 2.0);
}

}  // namespace
}  // namespace zav
