#pragma once
// Where the samples of a session or a log have gaps. Samples come once per 150 ms tick while
// the controller answers; none come during a block transfer, while the adapter is out, while
// the controller is silent, or between two recordings of one log. A chart breaks its lines
// at a gap instead of joining the samples on either side with a straight line that was never
// measured.

#include <cstddef>
#include <deque>
#include <vector>

#include "datalog/sample_columns.h"

namespace zav {

// Samples further apart than this have a gap between them (s): several ticks without one.
inline constexpr double kGapSeconds = 1.0;

// The most runs a chart draws per series. Beyond it only the widest gaps break the lines:
// a flaky line over hours, seen whole, has gaps far narrower than a pixel, and every run
// costs the chart a line of its own.
inline constexpr std::size_t kMostRuns = 32;

struct SampleRange {
  std::size_t first = 0;
  std::size_t last = 0;  // one past
  bool Empty() const { return first >= last; }
  std::size_t Size() const { return Empty() ? 0 : last - first; }
};

// True when a gap lies between the sample at `index` and the one before it.
bool GapBefore(const std::deque<DecodedSample>& samples, std::size_t index);

// The unbroken runs of `range` in time order, at most `mostRuns` of them (at least one):
// together they hold every sample of the range. None for an empty range.
std::vector<SampleRange> UnbrokenRuns(const std::deque<DecodedSample>& samples, SampleRange range,
                                      std::size_t mostRuns = kMostRuns);

}  // namespace zav
