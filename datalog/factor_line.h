#pragma once
// The petrol-against-gas view: the samples as points (petrol time, gas time) per cylinder,
// and the factors' line in force, drawn by the program's one model of the controller's line
// (params/gas_ratio_line.h), whatever part of it the samples cover.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "datalog/sample_columns.h"
#include "datalog/strip_view.h"
#include "params/set_factors.h"

namespace zav {

inline constexpr double kRecentSeconds = 10.0;  // samples this new stand out

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

// A corner of the factors' line as a chart draws it: (petrol ms, gas/petrol ratio).
struct LinePoint {
  double petrolMs = 0.0;
  double ratio = 0.0;
};

// The factors' line (params/gas_ratio_line.h) from `fromMs` to `toMs` of petrol time: the
// two ends and the corners between them where the line turns level.
std::vector<LinePoint> FactorLinePoints(Factors factors, double fromMs, double toMs);

}  // namespace zav
