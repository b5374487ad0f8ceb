// Block transfers over a line that drops and corrupts bytes: every register still ends up
// with the controller's value, and the link recovers once the faults stop.

#include <gtest/gtest.h>

#include "tests/support/link_harness.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::LinkHarness;

sim::ControllerOptions FaultyLine(std::uint32_t seed) {
  sim::ControllerOptions options;
  options.seed = seed;
  options.faults.dropRate = 0.10;
  options.faults.corruptRate = 0.01;
  return options;
}

class FaultyLineTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(FaultyLineTest, BlockReadEndsWithTheControllersValues) {
  LinkHarness harness(FaultyLine(GetParam()));
  int result = -1;
  harness.desktop.At(LinkHarness::TickTime(2),
                     [&] { result = RunBlockTransfer(harness.link, 80, 'Q'); });
  harness.RunUntil(120 * kSecond);
  ASSERT_EQ(result, 1);
  int requests = 0;
  for (const testing::SentFrame& frame : harness.FramesSent()) {
    requests += frame.Address() >= 80 ? 1 : 0;
  }
  EXPECT_GT(requests, 23) << "the faults cost some replies, which were asked for again";
  for (int address = 80; address <= 102; ++address) {
    EXPECT_EQ(ImageValue(harness.link.image, static_cast<std::uint8_t>(address)),
              harness.controller.Register(static_cast<std::uint8_t>(address)))
        << "register " << address;
  }
}

TEST_P(FaultyLineTest, WriteAndReadCompleteOnceTheFaultsStop) {
  LinkHarness harness(FaultyLine(GetParam()));
  harness.desktop.At(5 * kSecond, [&] { harness.controller.SetFaults({}); });
  for (int address = 80; address <= 92; ++address) {
    ImageValue(harness.link.image, static_cast<std::uint8_t>(address)) =
        static_cast<std::uint16_t>(address * 3);
  }
  harness.desktop.At(LinkHarness::TickTime(2), [&] { RequestParameterWrite(harness.link); });
  int readResult = -1;
  harness.desktop.At(40 * kSecond, [&] { readResult = RunBlockTransfer(harness.link, 80, 'Q'); });
  harness.RunUntil(60 * kSecond);
  EXPECT_EQ(readResult, 1);
  EXPECT_EQ(harness.link.cycle.sendRequest, SendRequest::None);
  for (int address = 80; address <= 92; ++address) {
    EXPECT_EQ(harness.controller.Register(static_cast<std::uint8_t>(address)), address * 3)
        << "register " << address;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, FaultyLineTest, ::testing::Values(1u, 7u, 2026u));

}  // namespace
}  // namespace zav
