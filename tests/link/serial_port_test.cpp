// Opening the stored port, switching ports, and draining input.

#include <gtest/gtest.h>

#include "hosts/headless/headless_desktop.h"
#include "link/frames.h"
#include "link/serial_port.h"
#include "tests/support/fake_serial_device.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class SerialPortTest : public ::testing::Test {
 protected:
  SerialPortTest() {
    link.desktop = &desktop;
    link.device = &device;
    link.settingsFile = dir / "zavmon.cfg";
  }

  testing::TempDir dir;
  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  testing::FakeSerialDevice device;
  Link link;
};

TEST_F(SerialPortTest, StoredNameIsOpenedAndItsDigitRemembered) {
  WriteFile(link.settingsFile, "COM3");
  EXPECT_TRUE(OpenSerialPort(link));
  EXPECT_EQ(device.openAttempts, std::vector<std::string>{"COM3"});
  EXPECT_EQ(link.portNumber, 3);
}

TEST_F(SerialPortTest, OnlyTheFirstFourBytesNameThePort) {
  WriteFile(link.settingsFile, "COM7" + std::string(200, 'x'));
  EXPECT_TRUE(OpenSerialPort(link));
  EXPECT_EQ(device.openAttempts.back(), "COM7");
}

TEST_F(SerialPortTest, MissingSettingsFileOpensNothingAndKeepsThePortNumber) {
  link.portNumber = 4;
  EXPECT_FALSE(OpenSerialPort(link));
  EXPECT_TRUE(device.openAttempts.empty());
  EXPECT_EQ(link.portNumber, 4);
}

TEST_F(SerialPortTest, SettingsFileTooShortForANameOpensNothingAndKeepsThePortNumber) {
  WriteFile(link.settingsFile, "COM");
  link.portNumber = 2;
  EXPECT_FALSE(OpenSerialPort(link));
  EXPECT_TRUE(device.openAttempts.empty());
  EXPECT_EQ(link.portNumber, 2);
}

struct OddName {
  std::string name;
  std::uint8_t portNumber;
};

class OddPortNameTest : public SerialPortTest, public ::testing::WithParamInterface<OddName> {};

TEST_P(OddPortNameTest, DigitIsTakenModulo256AndTheDeviceStillTried) {
  device.existingPorts = {"COM1"};
  WriteFile(link.settingsFile, GetParam().name);
  EXPECT_FALSE(OpenSerialPort(link));
  EXPECT_EQ(link.portNumber, GetParam().portNumber);
  EXPECT_EQ(device.openAttempts.back(), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(NonDigits, OddPortNameTest,
                         ::testing::Values(OddName{"COMA", 17}, OddName{"COM0", 0},
                                           OddName{"COM/", 255}));

TEST_F(SerialPortTest, PickWritesOnlyTheNameBytesOfALongSettingsFile) {
  std::string library(996, '\0');
  for (std::size_t i = 0; i < library.size(); ++i) {
    library[i] = static_cast<char>(i * 7);
  }
  WriteFile(link.settingsFile, "COM1" + library);
  SelectPort(link, 4);
  EXPECT_EQ(ReadFile(link.settingsFile), "COM5" + library);
  EXPECT_EQ(device.openAttempts.back(), "COM5");
  EXPECT_TRUE(device.IsOpen());
}

TEST_F(SerialPortTest, PickWithoutSettingsFileCreatesOneOfExactlyTheName) {
  SelectPort(link, 1);
  EXPECT_EQ(ReadFile(link.settingsFile), "COM2");
  EXPECT_EQ(link.portNumber, 2);
  EXPECT_TRUE(device.IsOpen());
  EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(SerialPortTest, PickOfAMissingPortClosesTheOldOneAndSaysSo) {
  device.existingPorts = {"COM1"};
  WriteFile(link.settingsFile, "COM1");
  ASSERT_TRUE(OpenSerialPort(link));
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  SelectPort(link, 5);
  EXPECT_FALSE(device.IsOpen());
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, "Error opening serial port - check setting");
  EXPECT_EQ(desktop.Messages()[0].caption, "Error");
  EXPECT_EQ(desktop.Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(desktop.Messages()[0].buttons, MessageButtons::Ok);
}

TEST_F(SerialPortTest, PortChosenInTheMiddleOfAFrameStartsCountingAfresh) {
  WriteFile(link.settingsFile, "COM1");
  ASSERT_TRUE(OpenSerialPort(link));
  // Half a frame on the old port, then the fitter picks COM2; a whole frame follows there.
  device.Queue({0x02, 0x20, 0x1B});
  EXPECT_FALSE(ReceiveFrame(link));
  SelectPort(link, 1);
  const ResponseBytes frame = EncodeResponse(kFirstLiveRegister, 7123);
  device.input.insert(device.input.end(), frame.begin(), frame.end());
  ASSERT_TRUE(ReceiveFrame(link));
  EXPECT_EQ(LastReceivedFrame(link.receiver).address, kFirstLiveRegister);
  EXPECT_EQ(LastReceivedFrame(link.receiver).value, 7123);
  EXPECT_EQ(link.connection.counters.framesTaken, 1u);
  EXPECT_EQ(link.connection.counters.bytesDiscarded, 0u) << "no bytes thrown away, no wrap";
}

TEST_F(SerialPortTest, SelectionOutsideTheListDoesNothing) {
  WriteFile(link.settingsFile, "COM1");
  SelectPort(link, -1);
  SelectPort(link, 10);
  EXPECT_EQ(ReadFile(link.settingsFile), "COM1");
  EXPECT_TRUE(device.openAttempts.empty());
}

TEST_F(SerialPortTest, DrainReadsUntilTheLineIsQuiet) {
  device.Open("COM1");
  device.Queue({1, 2, 3, 4});
  DrainInput(link);
  EXPECT_TRUE(device.input.empty());
  EXPECT_EQ(device.reads, 5) << "four bytes and the read that found none";
}

TEST_F(SerialPortTest, NoDeviceMeansNoBytesAndNoCrash) {
  Link bare;
  EXPECT_FALSE(ReadPortByte(bare));
  const std::uint8_t frame[] = {1, 2, 3};
  WritePortBytes(bare, frame);
  DrainInput(bare);
  ClosePort(bare);
}

}  // namespace
}  // namespace zav
