#include "datalog/strip_view.h"

#include <algorithm>
#include <iterator>
#include <utility>

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

namespace {

// The first lowest and the first highest sample of a slice, for one column.
struct SliceExtremes {
  ChartPoint low;
  ChartPoint high;
  std::size_t lowAt = 0;  // sample index in the range
  std::size_t highAt = 0;
};

}  // namespace

std::vector<std::vector<ChartPoint>> ThinnedColumns(const std::deque<DecodedSample>& samples,
                                                    SampleRange range, std::span<const int> columns,
                                                    std::size_t slices) {
  std::vector<std::vector<ChartPoint>> points(columns.size());
  const std::size_t count = range.Empty() ? 0 : range.last - range.first;
  // Walked with an iterator: a deque's operator[] costs a division per sample.
  auto sample = samples.begin() + static_cast<std::ptrdiff_t>(range.first);
  if (count <= 2 * slices || slices == 0) {
    for (std::vector<ChartPoint>& column : points) {
      column.reserve(count);
    }
    for (std::size_t i = 0; i < count; ++i, ++sample) {
      for (std::size_t c = 0; c < columns.size(); ++c) {
        points[c].push_back({sample->seconds, sample->shown[static_cast<std::size_t>(columns[c])]});
      }
    }
    return points;
  }
  for (std::vector<ChartPoint>& column : points) {
    column.reserve(2 * slices);
  }
  // Every column in one walk over the samples: the walk, not the comparing, is what costs.
  std::vector<SliceExtremes> extremes(columns.size());
  std::size_t begin = 0;
  for (std::size_t slice = 0; slice < slices; ++slice) {
    const std::size_t end = count * (slice + 1) / slices;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const ChartPoint first{sample->seconds, sample->shown[static_cast<std::size_t>(columns[c])]};
      extremes[c] = {first, first, begin, begin};
    }
    for (std::size_t i = begin; i < end; ++i, ++sample) {
      for (std::size_t c = 0; c < columns.size(); ++c) {
        const float value = sample->shown[static_cast<std::size_t>(columns[c])];
        SliceExtremes& slot = extremes[c];
        if (value < slot.low.value) {
          slot.low = {sample->seconds, value};
          slot.lowAt = i;
        }
        if (value > slot.high.value) {
          slot.high = {sample->seconds, value};
          slot.highAt = i;
        }
      }
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const SliceExtremes& slot = extremes[c];
      const bool lowFirst = slot.lowAt <= slot.highAt;
      points[c].push_back(lowFirst ? slot.low : slot.high);
      if (slot.lowAt != slot.highAt) {
        points[c].push_back(lowFirst ? slot.high : slot.low);
      }
    }
    begin = end;
  }
  return points;
}

std::vector<ChartPoint> ThinnedColumn(const std::deque<DecodedSample>& samples, SampleRange range,
                                      int column, std::size_t slices) {
  const std::array<int, 1> one{column};
  return std::move(ThinnedColumns(samples, range, one, slices).front());
}

std::vector<std::vector<std::vector<ChartPoint>>> ThinnedRunsOfColumns(
    const std::deque<DecodedSample>& samples, const std::vector<SampleRange>& runs,
    std::span<const int> columns, std::size_t slices) {
  std::size_t total = 0;
  for (const SampleRange& run : runs) {
    total += run.Size();
  }
  std::vector<std::vector<std::vector<ChartPoint>>> thinned(columns.size());
  for (auto& column : thinned) {
    column.reserve(runs.size());
  }
  for (const SampleRange& run : runs) {
    const std::size_t share =
        total == 0 ? 1 : std::max<std::size_t>(slices * run.Size() / total, 1);
    auto points = ThinnedColumns(samples, run, columns, slices == 0 ? 0 : share);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      thinned[c].push_back(std::move(points[c]));
    }
  }
  return thinned;
}

std::vector<std::vector<ChartPoint>> ThinnedRuns(const std::deque<DecodedSample>& samples,
                                                 const std::vector<SampleRange>& runs, int column,
                                                 std::size_t slices) {
  const std::array<int, 1> one{column};
  return std::move(ThinnedRunsOfColumns(samples, runs, one, slices).front());
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
