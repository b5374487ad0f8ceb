#include "tests/upgrade/upload_scenario.h"

#include "resources/transfer_template.h"
#include "upgrade/firmware_layout.h"
#include "upgrade/upload_dialog.h"
#include "upgrade/upload_exchange.h"
#include "upgrade/upload_packet.h"

namespace zav::testing {

namespace {

WireUnit::Kind KindOf(std::uint8_t lead) {
  switch (lead) {
    case kFrameStart:
      return WireUnit::Kind::kFrame;
    case kSoh:
      return WireUnit::Kind::kPacket;
    case kEot:
      return WireUnit::Kind::kEot;
    default:
      return WireUnit::Kind::kUnknown;
  }
}

std::size_t LengthOf(WireUnit::Kind kind) {
  switch (kind) {
    case WireUnit::Kind::kFrame:
      return 7;
    case WireUnit::Kind::kPacket:
      return kPacketBytes;
    default:
      return 1;
  }
}

}  // namespace

std::vector<WireUnit> SplitProgramBytes(const std::vector<headless::WireByte>& bytes) {
  std::vector<WireUnit> units;
  for (std::size_t start = 0; start < bytes.size();) {
    WireUnit unit;
    unit.kind = KindOf(bytes[start].byte);
    const std::size_t end = std::min(bytes.size(), start + LengthOf(unit.kind));
    for (std::size_t i = start; i < end; ++i) {
      unit.bytes.push_back(bytes[i].byte);
    }
    unit.at = bytes[end - 1].at;
    units.push_back(std::move(unit));
    start = end;
  }
  return units;
}

std::vector<int> BlocksSent(const std::vector<WireUnit>& units) {
  std::vector<int> blocks;
  for (const WireUnit& unit : units) {
    if (unit.kind == WireUnit::Kind::kPacket) {
      blocks.push_back(unit.Block());
    }
  }
  return blocks;
}

std::vector<std::uint8_t> ExpectedImage(const std::string& fileBytes) {
  std::vector<std::uint8_t> image(kFirmwareImageBytes, 0x00);
  const std::size_t taken = std::min(fileBytes.size(), kFirmwareImageBytes);
  std::copy(fileBytes.begin(), fileBytes.begin() + static_cast<long>(taken), image.begin());
  return image;
}

std::string PatternBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i * 31 + i / 128) & 0xFF);
  }
  return bytes;
}

std::optional<std::uint8_t> NotingDevice::ReadByte() {
  const std::optional<std::uint8_t> byte = inner_.ReadByte();
  uses.push_back({clock_.Now(), false, byte, inUploadDialog, uploadOpen});
  return byte;
}

void NotingDevice::Write(std::span<const std::uint8_t> bytes) {
  uses.push_back({clock_.Now(), true, std::nullopt, inUploadDialog, uploadOpen});
  inner_.Write(bytes);
}

UploadScenario::UploadScenario(sim::ControllerOptions options) : harness(options) {
  harness.link.device = &device;
  harness.desktop.SetTimeLimit(600 * kSecond);
  harness.link.hooks.runUpload = [this] {
    device.uploadOpen = true;
    RunUploadDialog(harness.link, upload);
    NoteUploadEnd();
  };
  // Runs once the tick that opened the dialog has sent whatever it sends after it.
  harness.link.hooks.showParameterValues = [this] {
    if (ticksWhenUploadEnded_ && !bytesWhenThatTickEnded_) {
      EXPECT_EQ(harness.Ticks(), *ticksWhenUploadEnded_) << "no other tick came in between";
      bytesWhenThatTickEnded_ = harness.line.SentByProgram().size();
    }
  };
}

void UploadScenario::MarkUploadProcedure() {
  harness.link.hooks.runUpload = [this] {
    device.uploadOpen = true;
    harness.desktop.RunDialog(TransferTemplate(), harness.link.mainWindow,
                              [this](Desktop& desktop, WindowRef window, const DialogEvent& event) {
                                device.inUploadDialog = true;
                                const bool handled =
                                    UploadProc(harness.link, upload, desktop, window, event);
                                device.inUploadDialog = false;
                                return handled;
                              });
    NoteUploadEnd();
  };
}

void UploadScenario::NoteUploadEnd() {
  device.uploadOpen = false;
  ticksWhenUploadEnded_ = harness.Ticks();
  bytesWhenUploadEnded_ = harness.line.SentByProgram().size();
}

std::vector<std::uint8_t> UploadScenario::SentByTheUploadTickAfterTheDialog() const {
  std::vector<std::uint8_t> bytes;
  const auto& sent = harness.line.SentByProgram();
  const std::size_t end = bytesWhenThatTickEnded_.value_or(bytesWhenUploadEnded_);
  for (std::size_t i = bytesWhenUploadEnded_; i < end; ++i) {
    bytes.push_back(sent[i].byte);
  }
  return bytes;
}

void UploadScenario::ChooseFirmware(const std::string& bytes) {
  const std::filesystem::path path = harness.dir / "firmware.zav";
  WriteFile(path, bytes);
  harness.desktop.QueueFileAnswer(path.string());
  harness.desktop.At(kChoiceTime, [this] { UpgradeCommand(harness.link, upload); });
}

const headless::DialogRecord* UploadScenario::UploadDialog() const {
  return harness.desktop.Newest(kTransferTemplateId);
}

}  // namespace zav::testing
