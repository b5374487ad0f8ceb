// What the charts take from a run of samples: thinning that never loses a peak, the breaks
// where samples are missing, the state bands, and the scatter's points and factors' line.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "datalog/factor_line.h"
#include "datalog/strip_view.h"
#include "link/wire.h"

namespace zav {
namespace {

TEST(StripViewTest, ThinningKeepsPeaksAndOrderAndBandsFollowTheState) {
  std::deque<DecodedSample> samples(10'000);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].seconds = static_cast<double>(i) * 0.15;
    samples[i].shown[kRpmColumn] = 800.0f;
    samples[i].statusKnown = i >= 100;
    samples[i].status = (i / 1000) % 2 == 0 ? kStatusGas : kStatusPetrol;
  }
  samples[5003].shown[kRpmColumn] = 6000.0f;
  samples[7001].shown[kRpmColumn] = 10.0f;

  const SampleRange range = SamplesIn(samples, 30.0, 1200.0);
  EXPECT_EQ(range.first, 200U);
  EXPECT_EQ(range.last, 8001U);
  const std::vector<ChartPoint> thin = ThinnedColumn(samples, range, kRpmColumn, 100);
  EXPECT_LE(thin.size(), 200U);
  EXPECT_TRUE(std::is_sorted(thin.begin(), thin.end(),
                             [](auto& a, auto& b) { return a.seconds < b.seconds; }));
  const auto has = [&](float value, double seconds) {
    return std::any_of(thin.begin(), thin.end(), [&](const ChartPoint& point) {
      return point.value == value && point.seconds == seconds;
    });
  };
  EXPECT_TRUE(has(6000.0f, samples[5003].seconds));
  EXPECT_TRUE(has(10.0f, samples[7001].seconds));
  EXPECT_EQ(ThinnedColumn(samples, SampleRange{0, 150}, kRpmColumn, 100).size(), 150U);

  // Gas from sample 100 (status known) to 1000, 2000 to 3000, ...; the band reaches the
  // next sample's time.
  const std::vector<StateSpan> gas = SpansInState(samples, SampleRange{0, 3500}, kStatusGas);
  ASSERT_EQ(gas.size(), 2U);
  EXPECT_DOUBLE_EQ(gas[0].from, samples[100].seconds);
  EXPECT_DOUBLE_EQ(gas[0].to, samples[1000].seconds);
  EXPECT_DOUBLE_EQ(gas[1].from, samples[2000].seconds);
  EXPECT_DOUBLE_EQ(gas[1].to, samples[3000].seconds);
}

// Blocks of samples one tick (0.15 s) apart, each `gapBefore` s after the one before.
struct SampleBlock {
  std::size_t samples = 0;
  double gapBefore = 0.0;
};

std::deque<DecodedSample> SamplesOf(const std::vector<SampleBlock>& blocks) {
  std::deque<DecodedSample> samples;
  double seconds = 0.0;
  for (const SampleBlock& block : blocks) {
    seconds += block.gapBefore;
    for (std::size_t i = 0; i < block.samples; ++i) {
      samples.emplace_back().seconds = seconds;
      seconds += 0.15;
    }
    seconds -= 0.15;
  }
  return samples;
}

struct RunCase {
  const char* name;
  std::vector<SampleBlock> blocks;
  SampleRange range;  // {0, 0}: all samples
  std::size_t mostRuns;
  std::vector<std::pair<std::size_t, std::size_t>> runs;
};

class UnbrokenRunsTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(UnbrokenRunsTest, BreakWhereNoSampleCameForMoreThanASecond) {
  const RunCase& c = GetParam();
  const std::deque<DecodedSample> samples = SamplesOf(c.blocks);
  const SampleRange range = c.range.last == 0 ? SampleRange{0, samples.size()} : c.range;
  std::vector<std::pair<std::size_t, std::size_t>> runs;
  for (const SampleRange& run : UnbrokenRuns(samples, range, c.mostRuns)) {
    runs.emplace_back(run.first, run.last);
  }
  EXPECT_EQ(runs, c.runs);
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, UnbrokenRunsTest,
    ::testing::Values(
        RunCase{"TicksWithoutAGap", {{400, 0.0}}, {}, kMostRuns, {{0, 400}}},
        RunCase{"ABlockTransferBreaks",
                {{100, 0.0}, {300, 6.0}},
                {},
                kMostRuns,
                {{0, 100}, {100, 400}}},
        RunCase{
            "ASecondWithoutSamplesStillJoins", {{100, 0.0}, {100, 1.0}}, {}, kMostRuns, {{0, 200}}},
        RunCase{
            "ALittleMoreBreaks", {{100, 0.0}, {100, 1.01}}, {}, kMostRuns, {{0, 100}, {100, 200}}},
        RunCase{
            "ARangeInsideOneRun", {{100, 0.0}, {300, 6.0}}, {120, 300}, kMostRuns, {{120, 300}}},
        RunCase{"ARangeAcrossTheGap",
                {{100, 0.0}, {300, 6.0}},
                {50, 150},
                kMostRuns,
                {{50, 100}, {100, 150}}},
        RunCase{"ARangeStartingRightAfterTheGap",
                {{100, 0.0}, {300, 6.0}},
                {100, 150},
                kMostRuns,
                {{100, 150}}},
        RunCase{"TooManyGapsKeepTheWidest",
                {{50, 0.0}, {50, 2.0}, {50, 9.0}, {50, 3.0}, {50, 8.0}, {50, 4.0}},
                {},
                3,
                {{0, 100}, {100, 200}, {200, 300}}},
        RunCase{"NoRunsInAnEmptyRange", {{100, 0.0}}, {40, 40}, kMostRuns, {}}),
    [](const ::testing::TestParamInfo<RunCase>& param) { return std::string(param.param.name); });

// Each slice's points as the thinning promises them, found the plain way: the first lowest
// and the first highest value of the slice, in time order, once if they are one sample.
std::vector<ChartPoint> SlicesPlainly(const std::deque<DecodedSample>& samples, SampleRange run,
                                      int column, std::size_t slices) {
  std::vector<ChartPoint> points;
  const auto value = [&](std::size_t i) {
    return samples[i].shown[static_cast<std::size_t>(column)];
  };
  const std::size_t count = run.Size();
  if (slices == 0 || count <= 2 * slices) {
    for (std::size_t i = run.first; i < run.last; ++i) {
      points.push_back({samples[i].seconds, value(i)});
    }
    return points;
  }
  for (std::size_t slice = 0; slice < slices; ++slice) {
    std::vector<float> values;
    const std::size_t from = run.first + count * slice / slices;
    const std::size_t to = run.first + count * (slice + 1) / slices;
    for (std::size_t i = from; i < to; ++i) {
      values.push_back(value(i));
    }
    const std::size_t low =
        from +
        static_cast<std::size_t>(std::min_element(values.begin(), values.end()) - values.begin());
    const std::size_t high =
        from +
        static_cast<std::size_t>(std::max_element(values.begin(), values.end()) - values.begin());
    points.push_back({samples[std::min(low, high)].seconds, value(std::min(low, high))});
    if (low != high) {
      points.push_back({samples[std::max(low, high)].seconds, value(std::max(low, high))});
    }
  }
  return points;
}

TEST(StripViewTest, SeveralColumnsThinnedInOneWalkKeepEachColumnsOwnPeaks) {
  // Three runs; values from a few levels (many ties), each column its own pattern, one
  // column that never moves.
  std::deque<DecodedSample> samples = SamplesOf({{1700, 0.0}, {9, 5.0}, {2603, 40.0}});
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].shown[kRpmColumn] = static_cast<float>((i * 7919) % 13) * 250.0f;
    samples[i].shown[kLambdaColumn] = static_cast<float>((i * i) % 5) * 0.5f - 1.0f;
    samples[i].shown[kFirstGasColumn] = 3.5f;
    samples[i].shown[kManifoldColumn] = static_cast<float>(i % 97 == 0 ? 900 : 300 + i % 4);
  }
  const std::array<int, 4> columns{kLambdaColumn, kRpmColumn, kFirstGasColumn, kManifoldColumn};
  const std::vector<SampleRange> runs = UnbrokenRuns(samples, SampleRange{0, samples.size()});
  ASSERT_EQ(runs.size(), 3U);
  std::size_t total = 0;
  for (const SampleRange& run : runs) {
    total += run.Size();
  }
  for (const std::size_t slices :
       {std::size_t{0}, std::size_t{1}, std::size_t{37}, std::size_t{800}, std::size_t{5000}}) {
    const auto together = ThinnedRunsOfColumns(samples, runs, columns, slices);
    ASSERT_EQ(together.size(), columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
      ASSERT_EQ(together[c].size(), runs.size());
      for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::size_t share =
            slices == 0 ? 0 : std::max<std::size_t>(slices * runs[r].Size() / total, 1);
        const std::vector<ChartPoint> plainly = SlicesPlainly(samples, runs[r], columns[c], share);
        ASSERT_EQ(together[c][r].size(), plainly.size()) << slices << " " << c << " " << r;
        for (std::size_t i = 0; i < plainly.size(); ++i) {
          EXPECT_EQ(together[c][r][i].seconds, plainly[i].seconds) << slices << " " << c;
          EXPECT_EQ(together[c][r][i].value, plainly[i].value) << slices << " " << c;
        }
      }
      EXPECT_EQ(ThinnedRuns(samples, runs, columns[c], slices).size(), runs.size());
    }
  }
}

TEST(StripViewTest, ThinningAndBandsStopAtAGap) {
  // 20 min of gas, the adapter out for 30 s, 2 s of petrol, a 2 s transfer, 20 min of gas:
  // the peaks either side of each gap are kept, no slice and no band reaches across one.
  std::deque<DecodedSample> samples = SamplesOf({{8000, 0.0}, {14, 30.0}, {8000, 2.0}});
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].shown[kRpmColumn] = 800.0f;
    samples[i].statusKnown = true;
    samples[i].status = i >= 8000 && i < 8014 ? kStatusPetrol : kStatusGas;
  }
  samples[7999].shown[kRpmColumn] = 5000.0f;
  samples[8000].shown[kRpmColumn] = 10.0f;
  samples[8014].shown[kRpmColumn] = 6000.0f;
  const std::vector<SampleRange> runs =
      UnbrokenRuns(samples, SampleRange{0, samples.size()}, kMostRuns);
  ASSERT_EQ(runs.size(), 3U);

  const auto thinned = ThinnedRuns(samples, runs, kRpmColumn, 100);
  ASSERT_EQ(thinned.size(), 3U);
  std::size_t points = 0;
  for (std::size_t run = 0; run < runs.size(); ++run) {
    const double from = samples[runs[run].first].seconds;
    const double to = samples[runs[run].last - 1].seconds;
    ASSERT_FALSE(thinned[run].empty());
    for (const ChartPoint& point : thinned[run]) {
      EXPECT_TRUE(point.seconds >= from && point.seconds <= to) << "run " << run;
    }
    points += thinned[run].size();
  }
  EXPECT_EQ(thinned[0].back().value, 5000.0f) << "the last peak before the gap";
  EXPECT_EQ(thinned[1].front().value, 10.0f) << "the first dip after it";
  EXPECT_EQ(thinned[1].size(), 2U) << "a run narrower than a slice: its lowest and highest";
  EXPECT_EQ(thinned[2].front().value, 6000.0f);
  EXPECT_LE(points, 2U * 100U + 2U * 3U);

  // The gas band ends at the last sample before the gap and starts again after petrol.
  const std::vector<StateSpan> gas =
      SpansInState(samples, SampleRange{0, samples.size()}, kStatusGas);
  ASSERT_EQ(gas.size(), 2U);
  EXPECT_DOUBLE_EQ(gas[0].to, samples[7999].seconds);
  EXPECT_DOUBLE_EQ(gas[1].from, samples[8014].seconds);
  const std::vector<StateSpan> petrol =
      SpansInState(samples, SampleRange{0, samples.size()}, kStatusPetrol);
  ASSERT_EQ(petrol.size(), 1U);
  EXPECT_DOUBLE_EQ(petrol[0].from, samples[8000].seconds);
  EXPECT_DOUBLE_EQ(petrol[0].to, samples[8013].seconds) << "not across the transfer";
}

TEST(FactorLineTest, PointsOnGasOnlyRecentOnesMarkedAndTheLineIsTheControllersWhateverTheView) {
  std::deque<DecodedSample> samples(200);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i].seconds = static_cast<double>(i) * 0.15;  // 0 to 29.85 s
    for (std::size_t cylinder = 0; cylinder < 4; ++cylinder) {
      samples[i].shown[kFirstPetrolColumn + cylinder] = 3.0f + static_cast<float>(i % 20) * 0.1f;
      samples[i].shown[kFirstGasColumn + cylinder] = i < 50 ? 0.0f : 6.0f;  // petrol, then gas
    }
  }
  const std::vector<ScatterPoint> points = ScatterPoints(samples, SampleRange{0, 200});
  ASSERT_EQ(points.size(), 150U * 4);
  const auto recent = std::count_if(points.begin(), points.end(),
                                    [](const ScatterPoint& point) { return point.recent; });
  EXPECT_EQ(recent, 67 * 4);  // 19.95 s to 29.85 s
  // The factors' line is the controller's, not the drive's: over the points' 3.0 to 4.9 ms
  // it runs along the line from 2.2 at 2.5 ms to 1.12 at 7 ms; over a wider view it turns
  // level beyond those two petrol times.
  const std::vector<LinePoint> line = FactorLinePoints(Factors{2.2, 1.12}, 3.0, 4.9);
  ASSERT_EQ(line.size(), 2U);
  EXPECT_DOUBLE_EQ(line[0].ratio, 2.2 - 1.08 * 0.5 / 4.5);
  EXPECT_DOUBLE_EQ(line[1].ratio, 2.2 - 1.08 * 2.4 / 4.5);
  const std::vector<LinePoint> wide = FactorLinePoints(Factors{2.2, 1.12}, 1.0, 9.0);
  ASSERT_EQ(wide.size(), 4U);
  EXPECT_DOUBLE_EQ(wide[0].ratio, 2.2);
  EXPECT_DOUBLE_EQ(wide[1].petrolMs, 2.5);
  EXPECT_DOUBLE_EQ(wide[2].petrolMs, 7.0);
  EXPECT_DOUBLE_EQ(wide[2].ratio, 1.12);
  EXPECT_DOUBLE_EQ(wide[3].ratio, 1.12);

  // The factors the Parameters dialog's trackbars show for the default registers.
  const Factors defaults = FactorsFromRegisters(599, 4000, 48160);
  EXPECT_FLOAT_EQ(static_cast<float>(defaults.left), 2.2f);
  EXPECT_FLOAT_EQ(static_cast<float>(defaults.right), 1.12f);
}

}  // namespace
}  // namespace zav
