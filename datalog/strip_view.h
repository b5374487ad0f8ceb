#pragma once
// What a strip chart shows of a run of samples: the series it can draw, the samples inside
// a time span, and those thinned to what a window of some hundred pixels can show (the
// lowest and highest value of each slice, so no peak is lost).

#include <array>
#include <cstddef>
#include <deque>
#include <string_view>
#include <vector>

#include "datalog/sample_columns.h"

namespace zav {

struct StripSeries {
  std::string_view name;
  int column = 0;          // into DecodedSample::shown
  bool injection = false;  // ms on the left axis; else on the right axis
};

inline constexpr int kStripSeriesCount = 13;
extern const std::array<StripSeries, kStripSeriesCount> kStripSeriesTable;

struct SampleRange {
  std::size_t first = 0;
  std::size_t last = 0;  // one past
  bool Empty() const { return first >= last; }
};

// The samples whose time lies in [from, to].
SampleRange SamplesIn(const std::deque<DecodedSample>& samples, double from, double to);

struct ChartPoint {
  double seconds = 0.0;
  float value = 0.0f;
};

// One column of the range; beyond 2 * `slices` samples, the lowest and highest of each slice
// in time order.
std::vector<ChartPoint> ThinnedColumn(const std::deque<DecodedSample>& samples, SampleRange range,
                                      int column, std::size_t slices);

// Spans of time in one state, for the background band: [from, to] while `status` held.
struct StateSpan {
  double from = 0.0;
  double to = 0.0;
};
std::vector<StateSpan> SpansInState(const std::deque<DecodedSample>& samples, SampleRange range,
                                    std::uint16_t status);

}  // namespace zav
