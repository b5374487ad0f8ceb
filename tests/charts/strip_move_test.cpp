// A following strip chart moved on: its drawn pixels move by the whole pixels its start
// moved, and only the ends are painted again; when its pixels cannot serve, nothing moves.

#include <gtest/gtest.h>

#include "charts/strip_move.h"

namespace zav {
namespace {

// A 30 s plot 580 px wide drawn from column 5,000 (some 260 s into a session), its newest
// sample on the last column but one, time labels up to 18 px wide.
StripLayout Drawn() {
  StripLayout drawn;
  drawn.plot = {40, 20, 620, 380};
  drawn.moving = {37, 20, 650, 400};
  drawn.pixelTime = 30.0 / 579.0;
  drawn.firstColumn = 5000;
  drawn.aligned = true;
  drawn.newestX = 618;
  drawn.timeLabelWidth = 18;
  return drawn;
}

StripShown StartingAt(std::int64_t column) {
  StripShown shown;
  shown.pixelTime = 30.0 / 579.0;
  shown.column = column;
  return shown;
}

TEST(StripMoveTest, ThePlotAndTimeAxisMoveLeftByTheColumnsAndTheirEndsArePaintedAgain) {
  const std::optional<StripMove> move = StripMoveTo(Drawn(), StartingAt(5019));
  ASSERT_TRUE(move.has_value());
  EXPECT_EQ(move->dx, -19);
  // The plot's left and right frame lines stay where they are.
  EXPECT_EQ(move->moved, (PixelBox{40, 20, 620, 400}));
  // The right end from a little before the newest sample, moved, and the whole of a label
  // whose tick comes in on the uncovered part, out to the time unit.
  const PixelBox& right = move->painted[0];
  EXPECT_LE(right.left, 618 - 19 - 1);
  EXPECT_LE(right.left, 620 - 19 - 9);
  EXPECT_GT(right.left, 560) << "not much more than what is new";
  EXPECT_EQ(right.right, 650);
  EXPECT_EQ(right.bottom, 400);
  // The left end of the time axis, where labels leave or stop short of the value axis.
  const PixelBox& left = move->painted[1];
  EXPECT_EQ(left.left, 37);
  EXPECT_GE(left.right, 40 + 18);
  EXPECT_LT(left.right, 100);
  EXPECT_GE(left.top, 380) << "below the plot: the lines are not drawn there";
}

TEST(StripMoveTest, NothingMovesWhenThePixelsDrawnCannotServe) {
  EXPECT_TRUE(StripMoveTo(Drawn(), StartingAt(5000))->painted[1].Empty())
      << "not moved on: the newest pixels alone";
  EXPECT_FALSE(StripMoveTo(Drawn(), StartingAt(4999))) << "back";
  EXPECT_FALSE(StripMoveTo(Drawn(), StartingAt(5000 + 291))) << "more than half the plot";
  StripShown otherScale = StartingAt(5019);
  otherScale.pixelTime = 120.0 / 579.0;
  EXPECT_FALSE(StripMoveTo(Drawn(), otherScale)) << "another span";
  StripLayout unaligned = Drawn();
  unaligned.aligned = false;
  EXPECT_FALSE(StripMoveTo(unaligned, StartingAt(5019))) << "drawn off the pixel grid";
}

}  // namespace
}  // namespace zav
