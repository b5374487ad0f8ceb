// What the charts take from a run of samples: thinning that never loses a peak, the state
// bands, and the scatter's points and factors' line.

#include <gtest/gtest.h>

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

TEST(FactorLineTest, PointsOnGasOnlyRecentOnesMarkedAndTheLineSpansThePetrolTimes) {
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
  const std::optional<FactorSegment> segment = FactorSegmentFor(points, Factors{2.2, 1.12});
  ASSERT_TRUE(segment.has_value());
  EXPECT_FLOAT_EQ(static_cast<float>(segment->shortestMs), 3.0f);
  EXPECT_FLOAT_EQ(static_cast<float>(segment->longestMs), 4.9f);

  // The factors the Parameters dialog's trackbars show for the default registers.
  const Factors defaults = FactorsFromRegisters(599, 4000, 48160);
  EXPECT_FLOAT_EQ(static_cast<float>(defaults.left), 2.2f);
  EXPECT_FLOAT_EQ(static_cast<float>(defaults.right), 1.12f);
}

}  // namespace
}  // namespace zav
