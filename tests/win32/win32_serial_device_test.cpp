// The Windows serial device against the simulator on a port the test stage maps (under
// wine, a pseudo-terminal behind COMn): line set-up, a whole reply taken in at once, the
// port held by one user at a time, an unknown port, and an adapter pulled out and back.
// The stage names the ports in ZAV_TEST_PORT (the simulator as it is) and
// ZAV_TEST_REPLUG_PORT (one whose adapter is pulled out and plugged back in).
#include "hosts/win32_core/win32_serial_device.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "link/frames.h"
#include "link/link_state.h"
#include "link/wire.h"

namespace zav {
namespace {

using Clock = std::chrono::steady_clock;
// Generous: wine and a loaded machine may be slow; nothing here measures speed.
constexpr auto kHangGuard = std::chrono::seconds(30);
constexpr int kRepliesPerPoll = 20;  // registers 32 to 50 and the status frame

std::string PortFromStage(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr ? value : "";
}

// Polls once and counts the sound frames that arrive within the guard.
int SoundFramesAfterPoll(Win32SerialDevice& device) {
  const RequestBytes poll = EncodeRequest(kLetterQuery, kFirstLiveRegister, 0);
  device.Write(poll);
  FrameReceiver receiver;
  int frames = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (frames < kRepliesPerPoll && Clock::now() < deadline && device.IsOpen()) {
    const std::optional<std::uint8_t> byte = device.ReadByte();
    if (!byte) {
      Sleep(20);  // ms; the next tick
      continue;
    }
    frames += FeedReceiver(receiver, *byte) ? 1 : 0;
  }
  return frames;
}

class Win32SerialDeviceTest : public testing::Test {
 protected:
  void SetUp() override {
    port_ = PortFromStage("ZAV_TEST_PORT");
    if (port_.empty()) {
      GTEST_SKIP() << "ZAV_TEST_PORT names no port served by the simulator";
    }
  }
  std::string port_;
};

TEST_F(Win32SerialDeviceTest, OpensTheControllersPortAndGetsAWholeLiveReply) {
  Win32SerialDevice device;
  ASSERT_TRUE(device.Open(port_)) << device.FaultText();
  EXPECT_EQ(device.Fault(), DeviceFault::None);
  EXPECT_EQ(device.DevicePath(), "\\\\.\\" + port_);
  // A port without modem lines (wine's pseudo-terminal) carries the line all the same.
  RecordProperty("modem_lines_set", device.ModemLinesSet() ? "yes" : "no");
  std::printf("modem lines set: %s\n", device.ModemLinesSet() ? "yes" : "no");
  EXPECT_EQ(SoundFramesAfterPoll(device), kRepliesPerPoll);
}

// A tick comes long after the reply began: everything that arrived meanwhile is there at
// once, without a read waiting for each byte.
TEST_F(Win32SerialDeviceTest, AReplyThatArrivedBetweenTicksIsReadWithoutWaiting) {
  Win32SerialDevice device;
  ASSERT_TRUE(device.Open(port_)) << device.FaultText();
  device.Write(EncodeRequest(kLetterQuery, kFirstLiveRegister, 0));
  Sleep(600);  // ms: the reply, 120 bytes, takes about 125 ms on the line
  int readInARow = 0;
  while (device.ReadByte()) {
    ++readInARow;
  }
  EXPECT_EQ(readInARow, kRepliesPerPoll * 6);
  EXPECT_FALSE(device.ReadByte().has_value());  // and an empty line gives nothing at once
  EXPECT_TRUE(device.IsOpen());
}

TEST_F(Win32SerialDeviceTest, APortHeldByAnotherUserIsBusyAndFreeOnceClosed) {
  Win32SerialDevice holder;
  ASSERT_TRUE(holder.Open(port_)) << holder.FaultText();
  Win32SerialDevice second;
  EXPECT_FALSE(second.Open(port_));
  EXPECT_EQ(second.Fault(), DeviceFault::Busy);
  EXPECT_NE(second.FaultText().find("(error 5)"), std::string::npos) << second.FaultText();
  holder.Close();
  ASSERT_TRUE(second.Open(port_)) << second.FaultText();
  EXPECT_EQ(SoundFramesAfterPoll(second), kRepliesPerPoll);
}

TEST_F(Win32SerialDeviceTest, APortWithoutDeviceIsNotFound) {
  Win32SerialDevice device;
  EXPECT_FALSE(device.Open("COM8"));  // the stage maps no device there
  EXPECT_EQ(device.Fault(), DeviceFault::NotFound);
  EXPECT_FALSE(device.FaultText().empty());
  EXPECT_FALSE(device.IsOpen());
  EXPECT_FALSE(device.ReadByte().has_value());
}

TEST(Win32SerialDeviceReplug, APulledOutAdapterClosesTheDeviceAndItIsTakenBackOnReturn) {
  const std::string port = PortFromStage("ZAV_TEST_REPLUG_PORT");
  if (port.empty()) {
    GTEST_SKIP() << "ZAV_TEST_REPLUG_PORT names no port whose adapter comes and goes";
  }
  Win32SerialDevice device;
  const auto deadline = Clock::now() + kHangGuard;
  while (!device.Open(port) && Clock::now() < deadline) {
    Sleep(200);  // ms; the adapter may be out right now
  }
  ASSERT_TRUE(device.IsOpen()) << device.FaultText();
  // Polls as the program does until the adapter goes.
  while (device.IsOpen() && Clock::now() < deadline) {
    SoundFramesAfterPoll(device);
  }
  ASSERT_FALSE(device.IsOpen()) << "the adapter was never pulled out";
  EXPECT_EQ(device.Fault(), DeviceFault::Removed);
  EXPECT_FALSE(device.FaultText().empty());
  // About once a second the program opens it again.
  while (!device.Reopen() && Clock::now() < deadline) {
    Sleep(200);  // ms
  }
  ASSERT_TRUE(device.IsOpen()) << device.FaultText();
  EXPECT_EQ(device.Fault(), DeviceFault::None);
  EXPECT_EQ(SoundFramesAfterPoll(device), kRepliesPerPoll);
}

}  // namespace
}  // namespace zav
