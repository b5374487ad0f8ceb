#pragma once
// Uploads on the headless host against the in-process controller: the link harness with the
// upload dialog bound to the tick, a firmware file chosen by a scripted user, a serial device
// that notes who read and wrote when, and the program's bytes cut into frames and packets.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/support/link_harness.h"
#include "upgrade/upgrade_command.h"
#include "upgrade/upload_state.h"

namespace zav::testing {

inline constexpr Micros kChoiceTime = 2 * kTick + 20 * kMillisecond;

// One request frame, upload packet or EOT as the program sent it.
struct WireUnit {
  enum class Kind { kFrame, kPacket, kEot, kUnknown };
  Kind kind = Kind::kUnknown;
  std::vector<std::uint8_t> bytes;
  Micros at = 0;  // when its last byte had reached the controller (us)

  std::uint8_t Block() const { return bytes.at(1); }
  bool IsFrame(char letter, std::uint8_t address) const {
    return kind == Kind::kFrame && bytes[1] == letter && bytes[2] == address;
  }
};

std::vector<WireUnit> SplitProgramBytes(const std::vector<headless::WireByte>& bytes);

// The block numbers of the packets, in the order they went out.
std::vector<int> BlocksSent(const std::vector<WireUnit>& units);

// The image the controller must end up with: the file's first 30,720 bytes, 0x00 filled.
std::vector<std::uint8_t> ExpectedImage(const std::string& fileBytes);
std::string PatternBytes(std::size_t size);

struct DeviceUse {
  Micros at = 0;
  bool write = false;
  std::optional<std::uint8_t> byte;  // what a read yielded
  bool byUploadDialog = false;       // in the upload dialog's own procedure
  bool whileUploadOpen = false;
};

// The virtual device, noting each read and write.
class NotingDevice : public SerialDevice {
 public:
  NotingDevice(SerialDevice& inner, const headless::VirtualClock& clock)
      : inner_(inner), clock_(clock) {}
  bool Open(std::string_view portName) override { return inner_.Open(portName); }
  void Close() override { inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  std::optional<std::uint8_t> ReadByte() override;
  void Write(std::span<const std::uint8_t> bytes) override;

  std::vector<DeviceUse> uses;
  bool inUploadDialog = false;
  bool uploadOpen = false;

 private:
  SerialDevice& inner_;
  const headless::VirtualClock& clock_;
};

// The program's side of one run: the harness, the device, the upload state.
class UploadScenario {
 public:
  explicit UploadScenario(sim::ControllerOptions options = {});
  UploadScenario(const UploadScenario&) = delete;
  UploadScenario& operator=(const UploadScenario&) = delete;

  // The user picks a file holding `bytes` at kChoiceTime.
  void ChooseFirmware(const std::string& bytes);
  void RunUntil(Micros end) { harness.RunUntil(end); }

  // Runs the upload procedure marked, so the device can tell its reads from the ticks'.
  void MarkUploadProcedure();

  const headless::DialogRecord* UploadDialog() const;
  std::vector<WireUnit> Units() const { return SplitProgramBytes(harness.line.SentByProgram()); }
  // What the program sent from the end of the upload dialog to the end of that tick.
  std::vector<std::uint8_t> SentByTheUploadTickAfterTheDialog() const;

  LinkHarness harness;
  NotingDevice device{harness.device, harness.clock};
  UploadState upload;

 private:
  void NoteUploadEnd();

  std::optional<int> ticksWhenUploadEnded_;
  std::size_t bytesWhenUploadEnded_ = 0;
  std::optional<std::size_t> bytesWhenThatTickEnded_;
};

class UploadScenarioTest : public ::testing::Test, public UploadScenario {};

// The live poll as the controller receives it: the one request a tick may send while an
// upload's dialog is not open.
inline const std::vector<std::uint8_t> kLivePoll{0x02, 0x51, 0x20, 0x00, 0x00, 0x73, 0x0D};

}  // namespace zav::testing
