// Feeds arbitrary controller bytes to the upload dialog, one per 20 ms tick, and checks what
// it sends: whole, sound packets of the image or a lone EOT; block 1 first, then each block
// only after its predecessor, never past block 240; the EOT only after block 240; the dialog
// ends with 1 only on the ACK of an EOT. The first two input bytes choose the image size.
// After the input, either the user closes the dialog (nothing is sent) or a sound controller
// answers NAK and then ACKs, which must bring the upload to its end.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "upgrade/firmware_layout.h"
#include "upgrade/upload_dialog.h"
#include "upgrade/upload_exchange.h"
#include "upgrade/upload_packet.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// The desktop as far as the upload dialog uses it: a bar, a timer and the ending.
class FuzzDesktop : public zav::Desktop {
 public:
  int RunDialog(const zav::DialogTemplate&, zav::WindowRef, zav::DialogProc) override { return 0; }
  void EndDialog(zav::WindowRef, int value) override { result = value; }
  void SetTimer(zav::WindowRef, int, int periodMs) override { timerMs = periodMs; }
  void KillTimer(zav::WindowRef, int) override { timerMs = 0; }
  void SetText(zav::WindowRef, int, std::string_view) override {}
  std::string GetText(zav::WindowRef, int) override { return {}; }
  void SetBarRange(zav::WindowRef, int, int low, int high) override {
    barLow = low;
    barHigh = high;
  }
  void SetBarPosition(zav::WindowRef, int, int position) override { barPosition = position; }
  void SetBarColour(zav::WindowRef, int, zav::Colour) override {}
  void SetSliderRange(zav::WindowRef, int, int, int) override {}
  void SetSliderPosition(zav::WindowRef, int, int) override {}
  int GetSliderPosition(zav::WindowRef, int) override { return 0; }
  void AddToolbarButtons(zav::WindowRef, int, std::span<const zav::ToolbarButton>) override {}
  void AddListEntry(zav::WindowRef, int, std::string_view) override {}
  void SelectListEntry(zav::WindowRef, int, int) override {}
  int SelectedListEntry(zav::WindowRef, int) override { return -1; }
  zav::MessageAnswer ShowMessage(zav::WindowRef, std::string_view, std::string_view,
                                 zav::MessageButtons, zav::MessageIcon) override {
    std::abort();  // the upload never shows a message
  }
  std::optional<std::string> ChooseFileToOpen(zav::WindowRef,
                                              const zav::FileDialogOptions&) override {
    std::abort();
  }
  std::optional<std::string> ChooseFileToSave(zav::WindowRef,
                                              const zav::FileDialogOptions&) override {
    std::abort();
  }
  zav::Canvas& CanvasOf(zav::WindowRef) override { std::abort(); }
  zav::Canvas& ControlCanvas(zav::WindowRef, int) override { std::abort(); }

  std::optional<int> result;
  int timerMs = 0;
  int barLow = -1;
  int barHigh = 0;
  int barPosition = 0;
};

// Hands out at most the one byte of the current tick; keeps what the dialog wrote per tick.
class OneByteDevice : public zav::SerialDevice {
 public:
  bool Open(std::string_view) override { return true; }
  void Close() override {}
  bool IsOpen() const override { return true; }
  std::optional<std::uint8_t> ReadByte() override {
    const std::optional<std::uint8_t> byte = next;
    next.reset();
    return byte;
  }
  void Write(std::span<const std::uint8_t> bytes) override {
    written.insert(written.end(), bytes.begin(), bytes.end());
  }

  std::optional<std::uint8_t> next;
  std::vector<std::uint8_t> written;
};

struct SentSoFar {
  int lastBlock = 0;  // 0 before the first packet
  bool eotSent = false;
};

void CheckPacket(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& image,
                 SentSoFar& sent) {
  Require(bytes.size() == zav::kPacketBytes && bytes[0] == zav::kSoh && !sent.eotSent);
  const int block = bytes[1];
  Require(block == sent.lastBlock || block == sent.lastBlock + 1);
  Require(block >= 1 && block <= zav::kFirmwareBlocks && bytes[2] == 0xFF - block);
  unsigned sum = 0;
  for (std::size_t i = 0; i < zav::kBlockBytes; ++i) {
    const std::size_t offset = (block - 1U) * zav::kBlockBytes + i;
    const std::uint8_t expected = offset < image.size() ? image[offset] : 0x00;
    Require(bytes[3 + i] == expected);
    sum += expected;
  }
  Require(bytes[3 + zav::kBlockBytes] == (sum & 0xFFU));
  sent.lastBlock = block;
}

// What one tick wrote: nothing, one packet, or one EOT.
void CheckTickOutput(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& image,
                     SentSoFar& sent) {
  if (bytes.empty()) {
    return;
  }
  if (bytes.size() == 1) {
    Require(bytes[0] == zav::kEot && sent.lastBlock == zav::kFirmwareBlocks);
    sent.eotSent = true;
    return;
  }
  CheckPacket(bytes, image, sent);
}

std::vector<std::uint8_t> ImageOfSize(std::size_t size) {
  static const std::vector<std::uint8_t> kFullImage = [] {
    std::vector<std::uint8_t> image(zav::kFirmwareImageBytes);
    for (std::size_t i = 0; i < image.size(); ++i) {
      image[i] = static_cast<std::uint8_t>(i * 251 + 17);
    }
    return image;
  }();
  const auto end = kFullImage.begin() + static_cast<long>(std::min(size, kFullImage.size()));
  return {kFullImage.begin(), end};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  const auto imageSize = static_cast<std::size_t>(data[0] << 8 | data[1]);  // 0 to 65,535 bytes
  const std::vector<std::uint8_t> image = ImageOfSize(imageSize);
  FuzzDesktop desktop;
  OneByteDevice device;
  zav::Link link;
  link.desktop = &desktop;
  link.device = &device;
  zav::UploadState upload;
  upload.image = image;
  const zav::WindowRef window{1};
  const auto deliver = [&](zav::DialogMessage message, int id) {
    zav::UploadProc(link, upload, desktop, window, zav::DialogEvent{message, id, 0});
  };

  deliver(zav::DialogMessage::Init, 0);
  Require(desktop.timerMs == zav::kUploadTickMs && desktop.barLow == 0 &&
          desktop.barHigh == zav::kEndOfTransmissionStage);
  SentSoFar sent;
  const auto tick = [&](std::uint8_t byte) {
    device.next = byte;
    device.written.clear();
    const bool answerToEot = sent.eotSent && byte == zav::kAck;
    deliver(zav::DialogMessage::Timer, zav::kUploadTimerId);
    Require(desktop.barPosition >= 1 && desktop.barPosition <= zav::kEndOfTransmissionStage);
    Require(!desktop.result || (*desktop.result == 1 && answerToEot && device.written.empty()));
    CheckTickOutput(device.written, image, sent);
  };
  for (std::size_t i = 2; i < size && !desktop.result; ++i) {
    tick(data[i]);
  }
  if (desktop.result) {
    return 0;
  }
  if (data[size - 1] % 16 == 0) {
    // A sound controller takes over: whatever came before, the upload still runs to its end.
    tick(zav::kNak);
    for (int answer = 0; answer <= zav::kFirmwareBlocks && !desktop.result; ++answer) {
      tick(zav::kAck);
    }
    Require(desktop.result == 1);
  } else {
    device.written.clear();
    deliver(zav::DialogMessage::Close, 0);
    Require(desktop.result == 0 && device.written.empty() && desktop.timerMs == 0);
  }
  return 0;
}
