#include "datalog/strip_view.h"

#include <algorithm>
#include <iterator>

namespace zav {

const std::array<StripSeries, kStripSeriesCount> kStripSeriesTable{{
    {"BA_1", kFirstPetrolColumn, true},
    {"BA_2", kFirstPetrolColumn + 1, true},
    {"BA_3", kFirstPetrolColumn + 2, true},
    {"BA_4", kFirstPetrolColumn + 3, true},
    {"GAS_1", kFirstGasColumn, true},
    {"GAS_2", kFirstGasColumn + 1, true},
    {"GAS_3", kFirstGasColumn + 2, true},
    {"GAS_4", kFirstGasColumn + 3, true},
    {"RPM", kRpmColumn, false},
    {"Manif (mBar)", kManifoldColumn, false},
    {"Regul. (mBar)", kRegulatorColumn, false},
    {"Temp. (C)", kTemperatureColumn, false},
    {"Lambda (mV)", kLambdaColumn, false},
}};

SampleRange SamplesIn(const std::deque<DecodedSample>& samples, double from, double to) {
  const auto earlier = [](const DecodedSample& sample, double seconds) {
    return sample.seconds < seconds;
  };
  const auto later = [](double seconds, const DecodedSample& sample) {
    return seconds < sample.seconds;
  };
  const auto first = std::lower_bound(samples.begin(), samples.end(), from, earlier);
  const auto last = std::upper_bound(first, samples.end(), to, later);
  return SampleRange{static_cast<std::size_t>(first - samples.begin()),
                     static_cast<std::size_t>(last - samples.begin())};
}

std::vector<ChartPoint> ThinnedColumn(const std::deque<DecodedSample>& samples, SampleRange range,
                                      int column, std::size_t slices) {
  std::vector<ChartPoint> points;
  const auto index = static_cast<std::size_t>(column);
  const std::size_t count = range.Empty() ? 0 : range.last - range.first;
  // Walked with iterators: a deque's operator[] costs a division per sample and column.
  auto sample = samples.begin() + static_cast<std::ptrdiff_t>(range.first);
  if (count <= 2 * slices || slices == 0) {
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i, ++sample) {
      points.push_back({sample->seconds, sample->shown[index]});
    }
    return points;
  }
  points.reserve(2 * slices);
  std::size_t begin = 0;
  for (std::size_t slice = 0; slice < slices; ++slice) {
    const std::size_t end = count * (slice + 1) / slices;
    // The first lowest and the first highest of the slice, in time order; kept in locals,
    // as this loop visits every sample of every series drawn.
    ChartPoint low{sample->seconds, sample->shown[index]};
    ChartPoint high = low;
    std::size_t lowAt = begin;
    std::size_t highAt = begin;
    for (std::size_t i = begin; i < end; ++i, ++sample) {
      const float value = sample->shown[index];
      if (value < low.value) {
        low = {sample->seconds, value};
        lowAt = i;
      }
      if (value > high.value) {
        high = {sample->seconds, value};
        highAt = i;
      }
    }
    points.push_back(lowAt <= highAt ? low : high);
    if (lowAt != highAt) {
      points.push_back(lowAt <= highAt ? high : low);
    }
    begin = end;
  }
  return points;
}

std::vector<std::vector<ChartPoint>> ThinnedRuns(const std::deque<DecodedSample>& samples,
                                                 const std::vector<SampleRange>& runs, int column,
                                                 std::size_t slices) {
  std::size_t total = 0;
  for (const SampleRange& run : runs) {
    total += run.Size();
  }
  std::vector<std::vector<ChartPoint>> thinned;
  thinned.reserve(runs.size());
  for (const SampleRange& run : runs) {
    const std::size_t share =
        total == 0 ? 1 : std::max<std::size_t>(slices * run.Size() / total, 1);
    thinned.push_back(ThinnedColumn(samples, run, column, slices == 0 ? 0 : share));
  }
  return thinned;
}

std::vector<StateSpan> SpansInState(const std::deque<DecodedSample>& samples, SampleRange range,
                                    std::uint16_t status) {
  std::vector<StateSpan> spans;
  range.last = std::min(range.last, samples.size());
  if (range.Empty()) {
    return spans;
  }
  bool inside = false;
  auto sample = samples.begin() + static_cast<std::ptrdiff_t>(range.first);
  const auto end = samples.begin() + static_cast<std::ptrdiff_t>(range.last);
  double before = range.first > 0 ? std::prev(sample)->seconds : sample->seconds;
  for (; sample != end; ++sample) {
    const bool holds = sample->statusKnown && sample->status == status;
    const bool gapBefore = sample->seconds - before > kGapSeconds;
    if (holds && (!inside || gapBefore)) {
      spans.push_back({sample->seconds, sample->seconds});
    }
    if (holds) {
      const auto next = std::next(sample);
      const bool nextJoins =
          next != samples.end() && next->seconds - sample->seconds <= kGapSeconds;
      spans.back().to = nextJoins ? next->seconds : sample->seconds;
    }
    inside = holds;
    before = sample->seconds;
  }
  return spans;
}

}  // namespace zav
