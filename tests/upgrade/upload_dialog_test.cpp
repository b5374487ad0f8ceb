// The upload dialog driven byte by byte: a fake serial device hands it the controller's
// bytes, the headless host's virtual clock runs its 20 ms timer.

#include <gtest/gtest.h>

#include <vector>

#include "hosts/headless/headless_desktop.h"
#include "resources/transfer_template.h"
#include "tests/support/fake_serial_device.h"
#include "upgrade/upload_dialog.h"
#include "upgrade/upload_exchange.h"
#include "upgrade/upload_packet.h"

namespace zav {
namespace {

using headless::kMillisecond;
using headless::kSecond;
using headless::Micros;

constexpr int kDialog = kTransferTemplateId;
constexpr Micros kUploadTick = 20 * kMillisecond;

// Just after upload tick n (from 1) has run.
constexpr Micros AfterTick(int n) {
  return n * kUploadTick + 5 * kMillisecond;
}

std::vector<std::uint8_t> TestImage() {
  std::vector<std::uint8_t> image(kFirmwareImageBytes);
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<std::uint8_t>(i * 13 + 5);
  }
  return image;
}

std::vector<std::uint8_t> PacketBytes(const std::vector<std::uint8_t>& image, int block) {
  const UploadPacket packet = BuildUploadPacket(image, static_cast<std::uint8_t>(block));
  return {packet.begin(), packet.end()};
}

class UploadDialogTest : public ::testing::Test {
 protected:
  UploadDialogTest() {
    device.open = true;
    link.desktop = &desktop;
    link.device = &device;
    link.mainWindow = WindowRef{};
    upload.image = image;
    desktop.SetTimeLimit(3600 * kSecond);
  }

  void FeedAt(Micros at, std::initializer_list<std::uint8_t> list) {
    desktop.At(at, [this, bytes = std::vector<std::uint8_t>(list)] {
      device.input.insert(device.input.end(), bytes.begin(), bytes.end());
    });
  }
  // The controller's answers one at a time, each arriving 10 ms before tick 1, 2, 3...
  void FeedOnePerTick(const std::vector<std::uint8_t>& bytes, int firstTick = 1) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const Micros at = (firstTick + static_cast<int>(i)) * kUploadTick - 10 * kMillisecond;
      FeedAt(at, {bytes[i]});
    }
  }
  void PressAt(Micros at, int commandId) {
    desktop.At(at, [this, commandId] { desktop.Press(kDialog, commandId); });
  }
  // Calls `check` at `at`, while the dialog runs.
  void CheckAt(Micros at, std::function<void()> check) { desktop.At(at, std::move(check)); }

  int Run() {
    RunUploadDialog(link, upload);
    return desktop.Newest(kDialog)->result;
  }
  int BarPosition() const { return desktop.Control(kDialog, kTransferProgressBar).barPosition; }

  const std::vector<std::uint8_t> image = TestImage();
  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  testing::FakeSerialDevice device;
  Link link;
  UploadState upload;
};

TEST_F(UploadDialogTest, EachNakRepeatsThePacket) {
  FeedOnePerTick({kNak, kNak, kNak});
  CheckAt(AfterTick(1), [this] { EXPECT_EQ(device.written.size(), 132u); });
  CheckAt(AfterTick(2), [this] { EXPECT_EQ(device.written.size(), 264u); });
  PressAt(AfterTick(4), kTransferCancelButton);
  Run();
  std::vector<std::uint8_t> expected;
  for (int repeat = 0; repeat < 3; ++repeat) {
    const std::vector<std::uint8_t> block1 = PacketBytes(image, 1);
    expected.insert(expected.end(), block1.begin(), block1.end());
  }
  EXPECT_EQ(device.written, expected);
}

TEST_F(UploadDialogTest, NaksThatWaitedWhileTheSenderWasBusyBringThePacketOnce) {
  // Three NAKs queued together (the controller repeats its NAK while the line is busy):
  // block 1 goes out once, so the one ACK that follows takes block 1 and brings block 2.
  FeedAt(30 * kMillisecond, {kNak, kNak, kNak});
  FeedOnePerTick({kAck}, 4);
  PressAt(AfterTick(8), kTransferCancelButton);
  Run();
  std::vector<std::uint8_t> expected = PacketBytes(image, 1);
  const std::vector<std::uint8_t> block2 = PacketBytes(image, 2);
  expected.insert(expected.end(), block2.begin(), block2.end());
  EXPECT_EQ(device.written, expected);
  EXPECT_EQ(BarPosition(), 2);
}

TEST_F(UploadDialogTest, RunsAllBlocksThenTheEotUntilItsAck) {
  std::vector<std::uint8_t> answers{kNak};
  answers.insert(answers.end(), 240, kAck);
  FeedOnePerTick(answers);
  // Tick 241 took the ACK of block 240; a NAK then asks for the EOT again.
  CheckAt(AfterTick(242), [this] {
    EXPECT_EQ(BarPosition(), 241) << "the bar is full in the end-of-transmission stage";
  });
  FeedOnePerTick({kNak, kAck}, 243);
  EXPECT_EQ(Run(), 1);

  std::vector<std::uint8_t> expected;
  for (int block = 1; block <= 240; ++block) {
    const std::vector<std::uint8_t> packet = PacketBytes(image, block);
    expected.insert(expected.end(), packet.begin(), packet.end());
  }
  expected.push_back(kEot);
  expected.push_back(kEot);
  EXPECT_EQ(device.written, expected);
  EXPECT_EQ(*desktop.Newest(kDialog)->closedAt, 244 * kUploadTick);
  EXPECT_TRUE(upload.image.empty()) << "the image is let go";
}

TEST_F(UploadDialogTest, BarRunsFrom0To241AndShowsTheBlockAtTheTickAfterEachAck) {
  FeedOnePerTick({kNak, kAck, kAck});
  CheckAt(5 * kMillisecond, [this] {
    const auto& bar = desktop.Control(kDialog, kTransferProgressBar);
    EXPECT_EQ(bar.barLow, 0);
    EXPECT_EQ(bar.barHigh, 241);
  });
  CheckAt(AfterTick(1), [this] { EXPECT_EQ(BarPosition(), 1); });
  CheckAt(AfterTick(2), [this] { EXPECT_EQ(BarPosition(), 1) << "set before the ACK is read"; });
  CheckAt(AfterTick(3), [this] { EXPECT_EQ(BarPosition(), 2); });
  CheckAt(AfterTick(4), [this] { EXPECT_EQ(BarPosition(), 3); });
  PressAt(AfterTick(5), kTransferCancelButton);
  Run();
}

TEST_F(UploadDialogTest, SilentLineSendsNothingAndWaitsForTheUser) {
  PressAt(10 * 60 * kSecond, kTransferCancelButton);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(device.written.empty());
  EXPECT_EQ(BarPosition(), 1);
}

TEST_F(UploadDialogTest, SilenceOfTenSecondsIsShownUntilAnAnswerAndCancelStillWorks) {
  std::optional<std::string> at9s;
  std::string at10s;
  std::string at25s;
  CheckAt(9 * kSecond, [&] { at9s = desktop.Newest(kDialog)->statusLine; });
  CheckAt(10 * kSecond + kUploadTick, [&] { at10s = *desktop.Newest(kDialog)->statusLine; });
  CheckAt(25 * kSecond + kUploadTick, [&] {
    at25s = *desktop.Newest(kDialog)->statusLine;
    EXPECT_EQ(link.connection.uploadSilentSeconds, 25u) << "for the main window's status line";
  });
  FeedAt(26 * kSecond, {kNak});
  std::string afterNak = "unset";
  CheckAt(26 * kSecond + 2 * kUploadTick, [&] {
    afterNak = *desktop.Newest(kDialog)->statusLine;
    EXPECT_EQ(link.connection.uploadSilentSeconds, 0u);
  });
  PressAt(40 * kSecond, kTransferCancelButton);
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(at9s.has_value());
  EXPECT_EQ(at10s, "No answer from the controller for 10 s");
  EXPECT_EQ(at25s, "No answer from the controller for 25 s");
  EXPECT_EQ(afterNak, "");
  EXPECT_EQ(device.written.size(), 132u) << "block 1 once, after the NAK";
  EXPECT_EQ(link.connection.uploadSilentSeconds, 0u);
}

TEST_F(UploadDialogTest, InputWaitingWhenTheDialogOpensIsDiscarded) {
  device.Queue({kNak, kAck, kNak});
  PressAt(AfterTick(5), kTransferCancelButton);
  Run();
  EXPECT_TRUE(device.written.empty());
}

TEST_F(UploadDialogTest, AckBeforeTheFirstNakIsDroppedAndBlockOneGoesOut) {
  FeedOnePerTick({kAck, kNak, kAck});
  PressAt(AfterTick(4), kTransferCancelButton);
  Run();
  std::vector<std::uint8_t> expected = PacketBytes(image, 1);
  const std::vector<std::uint8_t> block2 = PacketBytes(image, 2);
  expected.insert(expected.end(), block2.begin(), block2.end());
  EXPECT_EQ(device.written, expected);
}

TEST_F(UploadDialogTest, EscapeAndEnterDoNotEndTheDialog) {
  PressAt(10 * kMillisecond, kCommandEscape);
  PressAt(15 * kMillisecond, kCommandEnter);
  FeedAt(30 * kMillisecond, {kNak});
  PressAt(AfterTick(3), kTransferCancelButton);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(device.written, PacketBytes(image, 1)) << "the dialog went on after both keys";
}

TEST_F(UploadDialogTest, RunsOnTheTransferTemplateOwnedByTheMainWindow) {
  link.mainWindow = WindowRef{7};
  desktop.At(5 * kMillisecond, [this] { desktop.RequestClose(kDialog); });
  Run();
  const headless::DialogRecord* dialog = desktop.Newest(kDialog);
  EXPECT_EQ(dialog->owner, WindowRef{7});
  EXPECT_EQ(dialog->controls.at(kTransferCancelButton).text, "Cancel");
}

// Bytes that are neither ACK nor NAK: the CRC request 'C', CAN, a frame start, SOH, EOT...
class DroppedByteTest : public UploadDialogTest,
                        public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(DroppedByteTest, SendsNothingAndLeavesTheBlockAsItWas) {
  const std::uint8_t byte = GetParam();
  FeedOnePerTick({byte, kNak, byte, kAck, byte, byte});
  PressAt(AfterTick(7), kTransferCancelButton);
  Run();
  std::vector<std::uint8_t> expected = PacketBytes(image, 1);
  const std::vector<std::uint8_t> block2 = PacketBytes(image, 2);
  expected.insert(expected.end(), block2.begin(), block2.end());
  EXPECT_EQ(device.written, expected);
  EXPECT_EQ(BarPosition(), 2);
}

INSTANTIATE_TEST_SUITE_P(Bytes, DroppedByteTest,
                         ::testing::Values(0x43, 0x18, 0x02, 0x00, 0x01, 0x04, 0x0D, 0x86, 0x95,
                                           0xFF));

// "Cancel" and the close box end the upload the same way.
class UploadEndedByUserTest : public UploadDialogTest,
                              public ::testing::WithParamInterface<bool> {};

TEST_P(UploadEndedByUserTest, SendsNothingMoreAndEndsWithZero) {
  const bool closeBox = GetParam();
  FeedOnePerTick({kNak, kAck, kAck});
  desktop.At(AfterTick(3), [this, closeBox] {
    if (closeBox) {
      desktop.RequestClose(kDialog);
    } else {
      desktop.Press(kDialog, kTransferCancelButton);
    }
    device.Queue({kAck, kNak, kAck});  // left unread
  });
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(device.written.size(), 3 * 132u);
  EXPECT_EQ(device.input.size(), 3u);
  EXPECT_TRUE(desktop.Messages().empty());
  EXPECT_TRUE(upload.image.empty());
  EXPECT_EQ(*desktop.Newest(kDialog)->closedAt, AfterTick(3));
}

INSTANTIATE_TEST_SUITE_P(Endings, UploadEndedByUserTest, ::testing::Values(false, true),
                         [](const auto& test) { return test.param ? "CloseBox" : "Cancel"; });

}  // namespace
}  // namespace zav
