// A working day and night (24 virtual hours) of the whole program on a line whose faults
// come and go, with a fitter at work: every completed read, write and upload is exact.

#include <gtest/gtest.h>

#include "tests/soak/soak_report.h"

namespace zav::testing {
namespace {

TEST(SoakDayTest, ADayOnANoisyLineKeepsEveryCompletedTransferExact) {
  RunSoaksFromEnvironment(24 * kHour);
}

}  // namespace
}  // namespace zav::testing
