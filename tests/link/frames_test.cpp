// Request frames on the wire and the response receiver.

#include <gtest/gtest.h>

#include <vector>

#include "link/frames.h"
#include "tests/support/fake_serial_device.h"

namespace zav {
namespace {

using Bytes = std::vector<std::uint8_t>;

class FramesTest : public ::testing::Test {
 protected:
  FramesTest() {
    link.device = &device;
    device.Open("COM1");
  }

  // Every frame ReceiveFrame delivers until it reports none.
  std::vector<ReceivedFrame> DrainFrames() {
    std::vector<ReceivedFrame> frames;
    while (ReceiveFrame(link)) {
      frames.push_back(LastReceivedFrame(link.receiver));
    }
    return frames;
  }

  testing::FakeSerialDevice device;
  Link link;
};

TEST_F(FramesTest, LivePollIsTheFixedQueryOfRegister32) {
  SendLivePoll(link);
  EXPECT_EQ(device.written, (Bytes{0x02, 0x51, 0x20, 0x00, 0x00, 0x73, 0x0D}));
  EXPECT_EQ(CurrentCommand(link), 'Q');
}

TEST_F(FramesTest, BlockReadRequestCarriesTheImageValueAndItsChecksum) {
  CurrentCommand(link) = 'Q';
  SendFrame(link, 80, 0x1234);
  EXPECT_EQ(device.written, (Bytes{0x02, 0x51, 0x50, 0x12, 0x34, 0xE9, 0x0D}));
}

struct FixedFrame {
  std::uint8_t letter;
  Bytes wire;
};

class FixedFrameTest : public FramesTest, public ::testing::WithParamInterface<FixedFrame> {};

TEST_P(FixedFrameTest, GoesOutUnderTheCurrentLetter) {
  CurrentCommand(link) = GetParam().letter;
  SendFrame(link, 0, 0);
  EXPECT_EQ(device.written, GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(SwitchClearAndUpgrade, FixedFrameTest,
                         ::testing::Values(FixedFrame{'B', {0x02, 0x42, 0, 0, 0, 0x44, 0x0D}},
                                           FixedFrame{'C', {0x02, 0x43, 0, 0, 0, 0x45, 0x0D}},
                                           FixedFrame{'U', {0x02, 0x55, 0, 0, 0, 0x57, 0x0D}}));

TEST_F(FramesTest, SoundResponseIsAccepted) {
  device.Queue({0x02, 0x33, 0x00, 0x0C, 0x41, 0x0D});
  const auto frames = DrainFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].address, 51);
  EXPECT_EQ(frames[0].value, 12);
}

TEST_F(FramesTest, WrongChecksumIsDroppedSilently) {
  device.Queue({0x02, 0x33, 0x00, 0x0C, 0x42, 0x0D});
  EXPECT_TRUE(DrainFrames().empty());
}

TEST_F(FramesTest, StartAndEndBytesInsideAFrameAreData) {
  device.Queue({0x02, 0x20, 0x0D, 0x02, 0x31, 0x0D});
  const auto frames = DrainFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].address, 32);
  EXPECT_EQ(frames[0].value, 0x0D02);
}

TEST_F(FramesTest, BackToBackFramesComeOneCallEach) {
  device.Queue({0x02, 0x20, 0x00, 0x01, 0x23, 0x0D, 0x02, 0x21, 0x00, 0x02, 0x25, 0x0D});
  ASSERT_TRUE(ReceiveFrame(link));
  EXPECT_EQ(LastReceivedFrame(link.receiver).address, 32);
  EXPECT_EQ(device.input.size(), 6u) << "the second frame stays queued for the next call";
  ASSERT_TRUE(ReceiveFrame(link));
  EXPECT_EQ(LastReceivedFrame(link.receiver).address, 33);
  EXPECT_FALSE(ReceiveFrame(link));
}

TEST_F(FramesTest, FrameSplitAcrossCallsIsAssembledWhole) {
  device.Queue({0x02, 0x50, 0x01});
  EXPECT_FALSE(ReceiveFrame(link));
  device.Queue({0xF4, 0x47, 0x0D});
  ASSERT_TRUE(ReceiveFrame(link));
  EXPECT_EQ(LastReceivedFrame(link.receiver).address, 80);
  EXPECT_EQ(LastReceivedFrame(link.receiver).value, 500);
}

TEST_F(FramesTest, LoneEndByteNeverDeliversTheLastFrameAgain) {
  device.Queue({0x02, 0x33, 0x00, 0x0C, 0x41, 0x0D});
  ASSERT_EQ(DrainFrames().size(), 1u);
  device.Queue({0x0D});
  EXPECT_TRUE(DrainFrames().empty());
  device.Queue({0x0D, 0x0D, 0x0D});
  EXPECT_TRUE(DrainFrames().empty());
}

TEST_F(FramesTest, LostByteCostsTheDamagedFrameAndTheNextOnly) {
  // Frame 32 loses its value low byte; frame 33 follows; frame 34 arrives in step again.
  device.Queue({0x02, 0x20, 0x00, 0x23, 0x0D});
  device.Queue({0x02, 0x21, 0x00, 0x05, 0x28, 0x0D});
  device.Queue({0x02, 0x22, 0x00, 0x03, 0x27, 0x0D});
  const auto frames = DrainFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].address, 34);
  EXPECT_EQ(frames[0].value, 3);
}

TEST_F(FramesTest, EndByteOfAFrameThatLostItsStartDoesNotTestLeftovers) {
  // Status "Petrol" is accepted; then status "Gas" arrives without its start byte. Its end
  // byte must not deliver the "Petrol" frame still standing in the slots a second time.
  device.Queue({0x02, 0x33, 0x00, 0x0C, 0x41, 0x0D});
  device.Queue({0x33, 0x00, 0x06, 0x3B, 0x0D});
  const auto frames = DrainFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].value, 12);
}

TEST_F(FramesTest, ExtraByteSpoilsOnlyItsFrame) {
  device.Queue({0x02, 0x20, 0x00, 0x01, 0x77, 0x23, 0x0D});
  device.Queue({0x02, 0x21, 0x00, 0x02, 0x25, 0x0D});
  const auto frames = DrainFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].address, 33);
}

TEST_F(FramesTest, ReceiverReadsNothingWhileAnUploadIsArmed) {
  device.Queue({0x02, 0x33, 0x00, 0x0C, 0x41, 0x0D});
  link.cycle.upgradeArmed = UpgradeArming::Armed;
  EXPECT_FALSE(ReceiveFrame(link));
  EXPECT_EQ(device.input.size(), 6u);
  EXPECT_EQ(device.reads, 0);
  link.cycle.upgradeArmed = UpgradeArming::Disarmed;
  EXPECT_TRUE(ReceiveFrame(link));
}

TEST_F(FramesTest, GarbageBeforeAFrameIsSkipped) {
  device.Queue({0x0D, 0xFF, 0x00, 0x02, 0x33, 0x00, 0x06, 0x3B, 0x0D});
  // The stray bytes before the start byte fill the spare slot; the frame then arrives whole.
  const auto frames = DrainFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].value, 6);
}

}  // namespace
}  // namespace zav
