// Virtual-time length of a whole firmware upload against the in-process controller, which
// answers every packet at once, on a 9600-baud line: from the 'U' frame to the end of the
// upload dialog, compared with the time the line itself needs for the 240 packets and the
// EOT (31,681 bytes of 1,042 us each, about 33.0 s).

#include <algorithm>
#include <cstdio>
#include <string>

#include "resources/transfer_template.h"
#include "tests/support/link_harness.h"
#include "upgrade/firmware_layout.h"
#include "upgrade/upgrade_command.h"
#include "upgrade/upload_dialog.h"

namespace {

using zav::testing::kMillisecond;
using zav::testing::kSecond;
using zav::testing::LinkHarness;
using zav::testing::Micros;

constexpr Micros kByteTime = 1042;                      // us at 9600 baud, 10 bits a byte
constexpr long kUploadBytes = 240 * (3 + 128 + 1) + 1;  // 31,681: packets and the EOT

struct UploadTiming {
  double seconds = -1.0;  // from the 'U' frame leaving to the dialog's end
  int result = -1;
  bool imageArrived = false;
};

UploadTiming TimeOneUpload() {
  LinkHarness harness;
  zav::UploadState upload;
  harness.link.hooks.runUpload = [&] { zav::RunUploadDialog(harness.link, upload); };
  const std::filesystem::path file = harness.dir / "firmware.zav";
  std::string bytes(zav::kFirmwareImageBytes, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(i * 7);
  }
  zav::testing::WriteFile(file, bytes);
  harness.desktop.QueueFileAnswer(file.string());
  harness.desktop.At(LinkHarness::TickTime(2) + 20 * kMillisecond,
                     [&] { zav::UpgradeCommand(harness.link, upload); });
  harness.RunUntil(120 * kSecond);

  UploadTiming timing;
  const auto* dialog = harness.desktop.Newest(zav::kTransferTemplateId);
  if (dialog == nullptr || !dialog->closedAt) {
    return timing;
  }
  // The 'U' frame left when the dialog opened, in the same tick.
  timing.seconds = static_cast<double>(*dialog->closedAt - dialog->openedAt) / kSecond;
  timing.result = dialog->result;
  const auto& firmware = harness.controller.Firmware();
  timing.imageArrived =
      std::equal(firmware.begin(), firmware.end(), bytes.begin(), bytes.end(),
                 [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
  return timing;
}

}  // namespace

int main() {
  const UploadTiming timing = TimeOneUpload();
  const double lineSeconds = static_cast<double>(kUploadBytes * kByteTime) / kSecond;
  std::printf("upload of 240 blocks: %.3f s of virtual time (dialog result %d, image %s)\n",
              timing.seconds, timing.result, timing.imageArrived ? "complete" : "NOT complete");
  std::printf("line time of %ld bytes: %.3f s; ratio %.3f\n", kUploadBytes, lineSeconds,
              timing.seconds / lineSeconds);
  return timing.result == 1 && timing.imageArrived ? 0 : 1;
}
