// Virtual-time length of the block transfers against the in-process controller on a
// 9600-baud line: a read of registers 80 to 102 and a write of 80 to 92, from the command
// to the end of the progress dialog.

#include <cstdio>

#include "tests/support/link_harness.h"

namespace {

using zav::testing::kMillisecond;
using zav::testing::kSecond;
using zav::testing::LinkHarness;

// Runs a transfer started 20 ms after tick 2 and returns how long its dialog stayed open.
double TransferSeconds(bool write) {
  LinkHarness harness;
  harness.desktop.At(LinkHarness::TickTime(2) + 20 * kMillisecond, [&] {
    if (write) {
      zav::RequestParameterWrite(harness.link);
    } else {
      zav::RunBlockTransfer(harness.link, 80, 'Q');
    }
  });
  harness.RunUntil(20 * kSecond);
  const auto* dialog = harness.desktop.Newest(3000);
  const auto started = LinkHarness::TickTime(2) + 20 * kMillisecond;
  return dialog == nullptr ? -1.0 : static_cast<double>(*dialog->closedAt - started) / kSecond;
}

}  // namespace

int main() {
  std::printf("block read of 23 registers:  %.3f s of virtual time\n", TransferSeconds(false));
  std::printf("block write of 13 registers: %.3f s of virtual time\n", TransferSeconds(true));
  return 0;
}
