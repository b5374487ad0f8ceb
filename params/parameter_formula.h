#pragma once
// The injection formula behind the Parameters dialog's chart. Two trackbars stand for two
// factors: the left one for a (2.5 at the top down to 1.5), the right one for b (1.5 down to
// 1.0). From "X axis" and the factors follow "Y axis" and "Numerator"; when the dialog opens,
// the positions are solved back from the registers, mostly in integer arithmetic.
//
// The factors are held in single precision, as the controller's tool always has: this moves
// some results by one digit and the GAS line of a trackbar notification by one pixel against
// the line of a repaint. Keep the precision of every step as it is.

#include <cstdint>

namespace zav {

inline constexpr int kLeftTrackbarLast = 50;         // positions 0 (top) to 50
inline constexpr int kRightTrackbarLast = 25;        // positions 0 (top) to 25
inline constexpr std::uint16_t kXAxisStandIn = 599;  // used while register 87 is 0

struct TrackbarPositions {
  int left = 0;
  int right = 0;
  friend bool operator==(TrackbarPositions, TrackbarPositions) = default;
};

// Ends of the green GAS line, from x 342 px to x 512 px, in the dialog's client pixels.
struct GasLine {
  int leftY = 0;   // px
  int rightY = 0;  // px
  friend bool operator==(GasLine, GasLine) = default;
};

// What a trackbar notification puts into the dialog.
struct FormulaResult {
  bool xAxisStandIn = false;  // register 87 was 0: "X axis" shows 599
  std::uint32_t yAxis = 0;    // a negative result shown as 4294967296 + value
  std::uint32_t numerator = 0;
  GasLine line;
};

// Opening positions before they are brought into the trackbars' ranges.
int OpeningLeftPosition(std::uint16_t xAxis, std::uint16_t yAxis);
int OpeningRightPosition(std::uint16_t xAxis, std::uint16_t yAxis, std::uint16_t numerator);
// Both, brought into range.
TrackbarPositions OpeningPositions(std::uint16_t xAxis, std::uint16_t yAxis,
                                   std::uint16_t numerator);

float LeftFactor(int leftPosition);
float RightFactor(int rightPosition);

// The line of a repaint, in integers.
GasLine RepaintGasLine(TrackbarPositions positions);

// The whole formula of a trackbar notification, for register 87's value.
FormulaResult ApplyFormulaTo(std::uint16_t xAxis, TrackbarPositions positions);

}  // namespace zav
