#pragma once
// The petrol-against-gas view: the samples as points (petrol time, gas time) per cylinder,
// and the line the Parameters dialog's chart draws for the factors in force, running from
// the left factor at the shortest petrol time in view to the right factor at the longest.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "datalog/sample_columns.h"
#include "datalog/strip_view.h"

namespace zav {

inline constexpr double kRecentSeconds = 10.0;  // samples this new stand out

// The gas/petrol ratios at the two ends of the line.
struct Factors {
  double left = 0.0;
  double right = 0.0;
};

// From registers 87 to 89 ("X axis", "Y axis", "Numerator"), by the code that places the
// Parameters dialog's trackbars when it opens.
Factors FactorsFromRegisters(std::uint16_t xAxis, std::uint16_t yAxis, std::uint16_t numerator);

struct ScatterPoint {
  float petrolMs = 0.0f;
  float gasMs = 0.0f;
  int cylinder = 0;  // 0 to 3
  bool recent = false;
  float Ratio() const { return gasMs / petrolMs; }
};

// One point per cylinder and sample of `range` that has both a petrol and a gas time (the
// controller reports gas times only on gas). "Recent": within kRecentSeconds of the newest
// sample of the range.
std::vector<ScatterPoint> ScatterPoints(const std::deque<DecodedSample>& samples,
                                        SampleRange range);

// The ends of the factors' line in (petrol ms, ratio): the shortest and longest petrol time
// among the points. None without points.
struct FactorSegment {
  double shortestMs = 0.0;
  double longestMs = 0.0;
  Factors factors;
};
std::optional<FactorSegment> FactorSegmentFor(std::span<const ScatterPoint> points,
                                              Factors factors);

// The ratio the segment stands for at a petrol time (ms) between its ends: the straight line
// from the left factor to the right one. A segment of no length is the left factor.
double RatioAt(const FactorSegment& segment, double petrolMs);

}  // namespace zav
