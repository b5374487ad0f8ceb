// An hour of the whole program on the virtual clock, on a line whose faults come and go,
// with a fitter at work: every completed read, write and upload is exact.

#include <gtest/gtest.h>

#include "tests/soak/soak_report.h"

namespace zav::testing {
namespace {

TEST(SoakHourTest, AnHourOnANoisyLineKeepsEveryCompletedTransferExact) {
  RunSoaksFromEnvironment(kHour);
}

}  // namespace
}  // namespace zav::testing
