#include "datalog/sample_runs.h"

#include <algorithm>

namespace zav {

namespace {

struct Gap {
  std::size_t index = 0;  // the first sample after it
  double seconds = 0.0;   // how long it lasted (s)
};

std::vector<Gap> GapsIn(const std::deque<DecodedSample>& samples, SampleRange range) {
  std::vector<Gap> gaps;
  for (std::size_t i = range.first + 1; i < range.last; ++i) {
    if (GapBefore(samples, i)) {
      gaps.push_back({i, samples[i].seconds - samples[i - 1].seconds});
    }
  }
  return gaps;
}

// Keeps the `count` widest gaps (the earlier of equal ones), in time order.
void KeepWidest(std::vector<Gap>& gaps, std::size_t count) {
  if (gaps.size() <= count) {
    return;
  }
  std::stable_sort(gaps.begin(), gaps.end(),
                   [](const Gap& a, const Gap& b) { return a.seconds > b.seconds; });
  gaps.resize(count);
  std::sort(gaps.begin(), gaps.end(), [](const Gap& a, const Gap& b) { return a.index < b.index; });
}

}  // namespace

bool GapBefore(const std::deque<DecodedSample>& samples, std::size_t index) {
  return index > 0 && index < samples.size() &&
         samples[index].seconds - samples[index - 1].seconds > kGapSeconds;
}

std::vector<SampleRange> UnbrokenRuns(const std::deque<DecodedSample>& samples, SampleRange range,
                                      std::size_t mostRuns) {
  std::vector<SampleRange> runs;
  range.last = std::min(range.last, samples.size());
  if (range.Empty()) {
    return runs;
  }
  std::vector<Gap> gaps = GapsIn(samples, range);
  KeepWidest(gaps, std::max<std::size_t>(mostRuns, 1) - 1);
  std::size_t first = range.first;
  for (const Gap& gap : gaps) {
    runs.push_back({first, gap.index});
    first = gap.index;
  }
  runs.push_back({first, range.last});
  return runs;
}

}  // namespace zav
