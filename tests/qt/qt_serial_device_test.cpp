// The Qt serial device against a pseudo-terminal: line settings, byte-wise reads with a
// short time-out, blocking writes, exclusive use, and behaviour with no port open.
#include "hosts/qt_core/qt_serial_device.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/qt/pseudo_terminal.h"

namespace zav {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
constexpr auto kHangGuard = std::chrono::seconds(10);
constexpr const char* kPort = "COM5";

// COM5 is the given path; no other port and no USB adapter exists.
PortLookups PortFiveAt(std::string path) {
  return PortLookups{
      .environment =
          [path](const std::string& variable) {
            return variable == "ZAVMON_COM5" ? path : std::string();
          },
      .exists = [](const std::string&) { return false; },
  };
}

class QtSerialDeviceTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(line_.IsValid()); }

  // Reads until count bytes came or the hang guard ran out; quiet reads are retried.
  Bytes ReadBytes(QtSerialDevice& device, std::size_t count) {
    Bytes read;
    const auto deadline = Clock::now() + kHangGuard;
    while (read.size() < count && Clock::now() < deadline) {
      if (const std::optional<std::uint8_t> byte = device.ReadByte()) {
        read.push_back(*byte);
      }
    }
    return read;
  }

  // Sends through the device and back from the far end, proving the port is usable.
  void ExpectRoundTrip(QtSerialDevice& device) {
    const Bytes out = {0x02, 0x51, 0x50, 0x00, 0x00, 0xA3, 0x0D};
    device.Write(out);
    EXPECT_EQ(line_.Receive(out.size()), out);
    const Bytes in = {0x02, 0x50, 0x12, 0x34, 0x98, 0x0D};
    line_.Send(in);
    EXPECT_EQ(ReadBytes(device, in.size()), in);
  }

  test::PseudoTerminal line_;
  QtSerialDevice device_{PortFiveAt(line_.SlavePath())};
};

TEST_F(QtSerialDeviceTest, OpenSetsNineSixHundredEightNoneOneRawWithoutFlowControl) {
  ASSERT_TRUE(device_.Open(kPort));
  const termios settings = line_.SlaveSettings();
  EXPECT_EQ(cfgetispeed(&settings), B9600);
  EXPECT_EQ(cfgetospeed(&settings), B9600);
  // Linux forces 8 bits without parity on every pseudo-terminal, so these two hold whatever
  // the device asks for; stop bits and hardware flow control are kept as set.
  EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0U);
  EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | IXANY), 0U);
  EXPECT_EQ(settings.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IGNBRK | BRKINT | PARMRK), 0U);
  EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0U);
  EXPECT_EQ(settings.c_oflag & OPOST, 0U);
}

TEST_F(QtSerialDeviceTest, ReadOnQuietLineYieldsNothingWithoutBlocking) {
  ASSERT_TRUE(device_.Open(kPort));
  int reads = 0;
  int bytes = 0;
  const auto deadline = Clock::now() + kHangGuard;
  for (; reads < 100 && Clock::now() < deadline; ++reads) {
    bytes += device_.ReadByte().has_value() ? 1 : 0;
  }
  EXPECT_EQ(reads, 100);
  EXPECT_EQ(bytes, 0);
}

TEST_F(QtSerialDeviceTest, InputQueuedBeforeOpenIsDiscarded) {
  line_.MakeSlaveRaw();
  const Bytes stale = {0x01, 0x02, 0x03};
  line_.Send(stale);
  ASSERT_TRUE(line_.AwaitSlaveInput(stale.size()));
  ASSERT_TRUE(device_.Open(kPort));
  const Bytes fresh = {0x04};
  line_.Send(fresh);
  EXPECT_EQ(ReadBytes(device_, 1), fresh);
}

TEST_F(QtSerialDeviceTest, SecondDeviceIsRefusedWhileFirstHoldsThePort) {
  ASSERT_TRUE(device_.Open(kPort));
  QtSerialDevice second(PortFiveAt(line_.SlavePath()));
  EXPECT_FALSE(second.Open(kPort));
  EXPECT_FALSE(second.IsOpen());
  ExpectRoundTrip(device_);
}

TEST_F(QtSerialDeviceTest, SecondDeviceOpensAfterFirstCloses) {
  ASSERT_TRUE(device_.Open(kPort));
  device_.Close();
  QtSerialDevice second(PortFiveAt(line_.SlavePath()));
  ASSERT_TRUE(second.Open(kPort));
  ExpectRoundTrip(second);
}

TEST_F(QtSerialDeviceTest, OpenWhileOpenReopensTheSamePort) {
  ASSERT_TRUE(device_.Open(kPort));
  ASSERT_TRUE(device_.Open(kPort));
  EXPECT_TRUE(device_.IsOpen());
  ExpectRoundTrip(device_);
}

TEST_F(QtSerialDeviceTest, FailedOpenReleasesThePreviousPort) {
  ASSERT_TRUE(device_.Open(kPort));
  EXPECT_FALSE(device_.Open("COM0"));
  EXPECT_FALSE(device_.IsOpen());
  QtSerialDevice second(PortFiveAt(line_.SlavePath()));
  EXPECT_TRUE(second.Open(kPort));
}

TEST_F(QtSerialDeviceTest, OpenOfMissingDeviceFails) {
  QtSerialDevice missing(PortFiveAt("/dev/zavmon-no-such-device"));
  EXPECT_FALSE(missing.Open(kPort));
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(missing.ReadByte(), std::nullopt);
}

TEST_F(QtSerialDeviceTest, NeverOpenedDeviceReadsNothingAndDropsWrites) {
  EXPECT_FALSE(device_.IsOpen());
  EXPECT_EQ(device_.ReadByte(), std::nullopt);
  device_.Write(Bytes{0xAA});
  const Bytes marker = {0x55};
  line_.WriteOnSlave(marker);
  EXPECT_EQ(line_.Receive(1), marker);
}

TEST_F(QtSerialDeviceTest, ClosedDeviceReadsNothingAndDropsWrites) {
  ASSERT_TRUE(device_.Open(kPort));
  device_.Close();
  EXPECT_FALSE(device_.IsOpen());
  // Closing restores the terminal's earlier cooked settings, which would echo what the far
  // end sends and hold it back as an unfinished line; raw, the bytes wait readable.
  line_.MakeSlaveRaw();
  const Bytes waiting = {0x01, 0x02};
  line_.Send(waiting);
  ASSERT_TRUE(line_.AwaitSlaveInput(waiting.size()));
  EXPECT_EQ(device_.ReadByte(), std::nullopt);
  // A write that went out would reach the far end before a later byte on the same line.
  device_.Write(Bytes{0xAA});
  const Bytes marker = {0x55};
  line_.WriteOnSlave(marker);
  EXPECT_EQ(line_.Receive(1), marker);
}

TEST_F(QtSerialDeviceTest, WriteToStalledLineGivesUpAndDropsTheRest) {
  ASSERT_TRUE(device_.Open(kPort));
  // Far more than the pty buffers while the far end reads nothing.
  const Bytes flood(1 << 20, 0x77);
  device_.Write(flood);
  line_.DiscardReceived();
  const Bytes frame = {0x02, 0x43, 0x00, 0x00, 0x00, 0x45, 0x0D};
  device_.Write(frame);
  EXPECT_EQ(line_.Receive(frame.size()), frame);
}

TEST_F(QtSerialDeviceTest, HungUpLineReadsNothingAndWritesReturn) {
  ASSERT_TRUE(device_.Open(kPort));
  line_.HangUp();
  EXPECT_EQ(device_.ReadByte(), std::nullopt);
  device_.Write(Bytes{0x02, 0x51, 0x50, 0x00, 0x00, 0xA3, 0x0D});
  EXPECT_EQ(device_.ReadByte(), std::nullopt);
}

// An adapter pulled out and plugged back in, where the port name now leads to a new line:
// the failed device closes itself and says why, and Reopen finds the new line.
TEST_F(QtSerialDeviceTest, HungUpLineClosesTheDeviceAndReopenTakesTheNewLine) {
  std::string current = line_.SlavePath();
  QtSerialDevice device(PortLookups{
      .environment = [&current](const std::string&) { return current; },
      .exists = [](const std::string&) { return false; },
  });
  ASSERT_TRUE(device.Open(kPort));
  EXPECT_EQ(device.DevicePath(), current);
  line_.HangUp();
  device.Write(Bytes{0x02, 0x51, 0x50, 0x00, 0x00, 0xA3, 0x0D});
  EXPECT_EQ(device.ReadByte(), std::nullopt);
  EXPECT_FALSE(device.IsOpen());
  EXPECT_EQ(device.Fault(), DeviceFault::Removed);
  EXPECT_FALSE(device.FaultText().empty());

  test::PseudoTerminal replugged;
  ASSERT_TRUE(replugged.IsValid());
  current = replugged.SlavePath();
  ASSERT_TRUE(device.Reopen());
  EXPECT_EQ(device.Fault(), DeviceFault::None);
  const Bytes out = {0x02, 0x51, 0x20, 0x00, 0x00, 0x73, 0x0D};
  device.Write(out);
  EXPECT_EQ(replugged.Receive(out.size()), out);
}

TEST_F(QtSerialDeviceTest, OpenFaultsSayWhy) {
  QtSerialDevice missing(PortFiveAt("/dev/zavmon-no-such-device"));
  EXPECT_FALSE(missing.Open(kPort));
  EXPECT_EQ(missing.Fault(), DeviceFault::NotFound);
  EXPECT_FALSE(missing.FaultText().empty());
  ASSERT_TRUE(device_.Open(kPort));
  QtSerialDevice second(PortFiveAt(line_.SlavePath()));
  EXPECT_FALSE(second.Open(kPort));
  EXPECT_EQ(second.Fault(), DeviceFault::Busy) << second.FaultText();
}

TEST_F(QtSerialDeviceTest, ReadsBytesTheEventLoopTookIn) {
  ASSERT_TRUE(device_.Open(kPort));
  const Bytes sent = {0x02, 0x20, 0x01, 0x02, 0x25, 0x0D};
  line_.Send(sent);
  // A running loop lets Qt read the bytes into its own buffer before the device asks.
  QEventLoop loop;
  QTimer::singleShot(100, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(ReadBytes(device_, sent.size()), sent);
}

// Counts the read-readiness wakes of every socket notifier while it lives.
class ReadinessWakes : public QObject {
 public:
  ReadinessWakes() { QCoreApplication::instance()->installEventFilter(this); }
  ~ReadinessWakes() override { QCoreApplication::instance()->removeEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    count += event->type() == QEvent::SockAct ? 1 : 0;
    return QObject::eventFilter(watched, event);
  }
};

// A reply arriving between two poll ticks, a byte a millisecond as at 9600 baud, wakes the
// program once or twice rather than once per byte; the next tick still reads it whole and
// in order, and its drain ends on the quiet line as before.
TEST_F(QtSerialDeviceTest, ReplyBetweenTicksWakesTheLoopOnceAndTheTickReadsItWhole) {
  ASSERT_TRUE(device_.Open(kPort));
  EXPECT_EQ(device_.ReadByte(), std::nullopt);  // the last tick's drain
  Bytes reply;
  for (std::uint8_t address = 32; address <= 51; ++address) {
    const Bytes frame = {0x02, address, 0x01, 0x02, static_cast<std::uint8_t>(5 + address), 0x0D};
    reply.insert(reply.end(), frame.begin(), frame.end());
  }
  ReadinessWakes wakes;
  QEventLoop loop;
  QTimer byteTimer;
  std::size_t sent = 0;
  QObject::connect(&byteTimer, &QTimer::timeout, [&] {
    line_.Send(std::span(&reply[sent], 1));
    if (++sent == reply.size()) {
      byteTimer.stop();
      QTimer::singleShot(50, &loop, &QEventLoop::quit);
    }
  });
  byteTimer.start(1);
  QTimer::singleShot(kHangGuard, &loop, &QEventLoop::quit);
  loop.exec();
  ASSERT_EQ(sent, reply.size());
  EXPECT_LE(wakes.count, 2);
  // A request may leave before the reply is read: it goes out whole, nothing is lost.
  const Bytes request = {0x02, 0x51, 0x20, 0x00, 0x00, 0x73, 0x0D};
  device_.Write(request);
  EXPECT_EQ(line_.Receive(request.size()), request);
  EXPECT_EQ(ReadBytes(device_, reply.size()), reply);
  EXPECT_EQ(device_.ReadByte(), std::nullopt);
}

// Twenty live frames, as a reply to a live poll.
Bytes LiveReply() {
  Bytes reply;
  for (std::uint8_t address = 32; address <= 51; ++address) {
    const Bytes frame = {0x02, address, 0x01, 0x02, static_cast<std::uint8_t>(5 + address), 0x0D};
    reply.insert(reply.end(), frame.begin(), frame.end());
  }
  return reply;
}

// How a tick's read ended before the next reply comes in between two ticks.
enum class ReadEnd { QuietLine, WholeFrame };

class QtSerialDeviceReadEndTest : public QtSerialDeviceTest,
                                  public testing::WithParamInterface<ReadEnd> {};

// Whichever way the tick's read ended (the line went quiet, or the reader stopped at a whole
// frame with more bytes behind it), a reply arriving before the next tick, a byte a
// millisecond as at 9600 baud, wakes the program once or twice rather than once per byte,
// and the next tick reads everything whole and in order.
TEST_P(QtSerialDeviceReadEndTest, ReplyBetweenTicksWakesTheLoopOnceWhateverEndedTheRead) {
  ASSERT_TRUE(device_.Open(kPort));
  Bytes expected;
  if (GetParam() == ReadEnd::QuietLine) {
    EXPECT_EQ(device_.ReadByte(), std::nullopt);
  } else {
    const Bytes two = {0x02, 0x20, 0x01, 0x02, 0x25, 0x0D, 0x02, 0x21, 0x01, 0x02, 0x26, 0x0D};
    line_.Send(two);
    EXPECT_EQ(ReadBytes(device_, 6), Bytes(two.begin(), two.begin() + 6));
    expected.assign(two.begin() + 6, two.end());
  }
  const Bytes reply = LiveReply();
  expected.insert(expected.end(), reply.begin(), reply.end());
  ReadinessWakes wakes;
  QEventLoop loop;
  QTimer byteTimer;
  std::size_t sent = 0;
  QObject::connect(&byteTimer, &QTimer::timeout, [&] {
    line_.Send(std::span(&reply[sent], 1));
    if (++sent == reply.size()) {
      byteTimer.stop();
      QTimer::singleShot(50, &loop, &QEventLoop::quit);
    }
  });
  byteTimer.start(1);
  QTimer::singleShot(kHangGuard, &loop, &QEventLoop::quit);
  loop.exec();
  ASSERT_EQ(sent, reply.size());
  EXPECT_LE(wakes.count, 2);
  EXPECT_EQ(ReadBytes(device_, expected.size()), expected);
  EXPECT_EQ(device_.ReadByte(), std::nullopt);
}

std::string ReadEndName(const testing::TestParamInfo<ReadEnd>& end) {
  return end.param == ReadEnd::QuietLine ? "QuietLine" : "WholeFrame";
}

INSTANTIATE_TEST_SUITE_P(Ends, QtSerialDeviceReadEndTest,
                         testing::Values(ReadEnd::QuietLine, ReadEnd::WholeFrame), ReadEndName);

TEST_F(QtSerialDeviceTest, WorksInsideATimerHandler) {
  ASSERT_TRUE(device_.Open(kPort));
  QEventLoop loop;
  bool handled = false;
  QTimer::singleShot(0, &loop, [&] {
    ExpectRoundTrip(device_);
    handled = true;
    loop.quit();
  });
  loop.exec();
  EXPECT_TRUE(handled);
}

// Bytes that a terminal or a flow-controlled line would act on instead of passing through.
struct Payload {
  std::string name;
  Bytes bytes;
};

void PrintTo(const Payload& payload, std::ostream* out) {
  *out << payload.name;
}

Bytes EveryByteValue() {
  Bytes bytes(256);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  return bytes;
}

std::vector<Payload> Payloads() {
  return {
      // NUL, STX, CR, LF, XON, XOFF, ^C, ^D, ^Z, DEL, BS, ^\, ^U, ^W, ^V, ^R, ^O, ^S^Q again.
      {"ControlCharacters",
       {0x00, 0x02, 0x0D, 0x0A, 0x11, 0x13, 0x03, 0x04, 0x1A, 0x7F, 0x08, 0x1C, 0x15, 0x17, 0x16,
        0x12, 0x0F, 0x13, 0x11}},
      {"CarriageReturnThenLineFeed", {0x0D, 0x0A, 0x0D}},
      {"EveryByteValue", EveryByteValue()},
  };
}

class QtSerialDevicePayloadTest : public QtSerialDeviceTest,
                                  public testing::WithParamInterface<Payload> {};

TEST_P(QtSerialDevicePayloadTest, ReadReturnsReceivedBytesUnchangedInOrder) {
  ASSERT_TRUE(device_.Open(kPort));
  line_.Send(GetParam().bytes);
  EXPECT_EQ(ReadBytes(device_, GetParam().bytes.size()), GetParam().bytes);
  EXPECT_EQ(device_.ReadByte(), std::nullopt);
}

TEST_P(QtSerialDevicePayloadTest, WriteSendsBytesUnchangedInOrder) {
  ASSERT_TRUE(device_.Open(kPort));
  device_.Write(GetParam().bytes);
  EXPECT_EQ(line_.Receive(GetParam().bytes.size()), GetParam().bytes);
}

std::string PayloadName(const testing::TestParamInfo<Payload>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Binary, QtSerialDevicePayloadTest, testing::ValuesIn(Payloads()),
                         PayloadName);

}  // namespace
}  // namespace zav
