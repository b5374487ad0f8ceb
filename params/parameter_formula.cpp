#include "params/parameter_formula.h"

#include <algorithm>
#include <cmath>

namespace zav {

namespace {

// The double nearest to 10/9, and the single-precision value nearest to 0.0005, both as
// the tool has always used them.
constexpr double kTenNinths = 1.1111111111111112;
constexpr double kYAxisWeight = static_cast<double>(0.0005f);
constexpr double kNumeratorLimit = 65535.0;

// Truncation toward zero. Every value of the formula lies far inside the range; the clamp
// only keeps the conversion defined whatever comes in.
std::int64_t Truncate(double value) {
  constexpr double kLimit = 9.0e15;
  if (std::isnan(value)) {
    return 0;
  }
  return static_cast<std::int64_t>(std::clamp(value, -kLimit, kLimit));
}

}  // namespace

int OpeningLeftPosition(std::uint16_t xAxis, std::uint16_t yAxis) {
  const std::int32_t x = xAxis;
  const std::int32_t y = yAxis;
  return (250 - (23289000 / (x + 750) - y + 2120) / 70) / 2;
}

int OpeningRightPosition(std::uint16_t xAxis, std::uint16_t yAxis, std::uint16_t numerator) {
  const double quotient = 6.25 * numerator / (xAxis + 1450.0);
  const std::int32_t yShare = yAxis / 288;
  // Only the low 16 bits of the truncated term count, taken as unsigned: -21 is 65515.
  const auto term = static_cast<std::uint16_t>(Truncate(quotient - yShare - 21.0));
  return (150 - std::int32_t{term}) / 2;
}

TrackbarPositions OpeningPositions(std::uint16_t xAxis, std::uint16_t yAxis,
                                   std::uint16_t numerator) {
  return {std::clamp(OpeningLeftPosition(xAxis, yAxis), 0, kLeftTrackbarLast),
          std::clamp(OpeningRightPosition(xAxis, yAxis, numerator), 0, kRightTrackbarLast)};
}

float LeftFactor(int leftPosition) {
  return static_cast<float>((2 * (125 - leftPosition)) * 0.01);
}

float RightFactor(int rightPosition) {
  return static_cast<float>((2 * (75 - rightPosition)) * 0.01);
}

GasLine RepaintGasLine(TrackbarPositions positions) {
  return {352 - (125 - positions.left), 350 - 2 * (75 - positions.right)};
}

FormulaResult ApplyFormulaTo(std::uint16_t xAxis, TrackbarPositions positions) {
  FormulaResult result;
  float x = xAxis;
  if (x == 0.0f) {
    result.xAxisStandIn = true;
    x = kXAxisStandIn;
  }
  const double a = LeftFactor(positions.left);
  const double b = RightFactor(positions.right);
  result.line = {static_cast<int>(Truncate(352 - 50 * a)),
                 static_cast<int>(Truncate(350 - 100 * b))};

  const double yAxis = 23289000 / (x + 750.0) + 2120 - 7000 * a;
  const double numerator = (kYAxisWeight * yAxis + 14.4 * b + 3.025) * (x + 1450.0) * kTenNinths;
  const double shown =
      numerator > kNumeratorLimit ? kNumeratorLimit : static_cast<float>(numerator);
  // Negative values wrap to their unsigned 32-bit form.
  result.yAxis = static_cast<std::uint32_t>(Truncate(yAxis));
  result.numerator = static_cast<std::uint32_t>(Truncate(shown));
  return result;
}

}  // namespace zav
