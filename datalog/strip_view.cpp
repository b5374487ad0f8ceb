#include "datalog/strip_view.h"

#include <algorithm>

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
  if (count <= 2 * slices || slices == 0) {
    points.reserve(count);
    for (std::size_t i = range.first; i < range.last; ++i) {
      points.push_back({samples[i].seconds, samples[i].shown[index]});
    }
    return points;
  }
  points.reserve(2 * slices);
  for (std::size_t slice = 0; slice < slices; ++slice) {
    const std::size_t begin = range.first + count * slice / slices;
    const std::size_t end = range.first + count * (slice + 1) / slices;
    std::size_t low = begin;
    std::size_t high = begin;
    for (std::size_t i = begin; i < end; ++i) {
      low = samples[i].shown[index] < samples[low].shown[index] ? i : low;
      high = samples[i].shown[index] > samples[high].shown[index] ? i : high;
    }
    points.push_back(
        {samples[std::min(low, high)].seconds, samples[std::min(low, high)].shown[index]});
    if (low != high) {
      points.push_back(
          {samples[std::max(low, high)].seconds, samples[std::max(low, high)].shown[index]});
    }
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
  bool inside = false;
  for (std::size_t i = range.first; i < range.last; ++i) {
    const DecodedSample& sample = samples[i];
    const bool holds = sample.statusKnown && sample.status == status;
    if (holds && (!inside || GapBefore(samples, i))) {
      spans.push_back({sample.seconds, sample.seconds});
    }
    if (holds) {
      const bool nextJoins = i + 1 < samples.size() && !GapBefore(samples, i + 1);
      spans.back().to = nextJoins ? samples[i + 1].seconds : sample.seconds;
    }
    inside = holds;
  }
  return spans;
}

}  // namespace zav
