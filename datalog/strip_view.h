#pragma once
// What a strip chart shows of a run of samples: the series it can draw, the samples inside
// a time span, and those thinned to what a window of some hundred pixels can show (the
// lowest and highest value of each slice, so no peak is lost), unbroken run by unbroken run.

#include <array>
#include <cstddef>
#include <deque>
#include <span>
#include <string_view>
#include <vector>

#include "datalog/sample_columns.h"
#include "datalog/sample_runs.h"

namespace zav {

struct StripSeries {
  std::string_view name;
  int column = 0;          // into DecodedSample::shown
  bool injection = false;  // ms on the left axis; else on the right axis
};

inline constexpr int kStripSeriesCount = 13;
extern const std::array<StripSeries, kStripSeriesCount> kStripSeriesTable;

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

// Several columns of the range, each as ThinnedColumn gives it, in one walk over the samples.
std::vector<std::vector<ChartPoint>> ThinnedColumns(const std::deque<DecodedSample>& samples,
                                                    SampleRange range, std::span<const int> columns,
                                                    std::size_t slices);

// One column, thinned run by run (see UnbrokenRuns): the runs share `slices` by their
// samples, each at least one, so no slice reaches across a gap. One list of points per run.
std::vector<std::vector<ChartPoint>> ThinnedRuns(const std::deque<DecodedSample>& samples,
                                                 const std::vector<SampleRange>& runs, int column,
                                                 std::size_t slices);
// Several columns, each as ThinnedRuns gives it (in `columns`' order), in one walk.
std::vector<std::vector<std::vector<ChartPoint>>> ThinnedRunsOfColumns(
    const std::deque<DecodedSample>& samples, const std::vector<SampleRange>& runs,
    std::span<const int> columns, std::size_t slices);

// Spans of time in one state, for the background band: [from, to] while `status` held. A
// span reaches the next sample's time, but not across a gap (the state then is unknown).
struct StateSpan {
  double from = 0.0;
  double to = 0.0;
};
std::vector<StateSpan> SpansInState(const std::deque<DecodedSample>& samples, SampleRange range,
                                    std::uint16_t status);

}  // namespace zav
