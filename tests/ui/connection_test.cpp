// The connection as the fitter sees it, on the headless host: counters that equal the faults
// put on the line, the adapter pulled out and plugged back in while a block read runs, a
// port another program holds at the start, the open errors with their help, and the port
// list.

#include <gtest/gtest.h>

#include <map>

#include "link/block_transfer.h"
#include "resources/main_template.h"
#include "tests/support/local_zone.h"
#include "tests/support/program_harness.h"
#include "tests/ui/open_error_cases.h"
#include "ui/connection_commands.h"
#include "ui/connection_help.h"
#include "ui/live_display.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::Micros;
using testing::ProgramHarness;

constexpr int kPortListId = 1001;

std::string StatusLineOf(const ProgramHarness& harness) {
  return harness.desktop.Newest(kMainTemplateId)->statusLine.value_or("");
}

// Ticks come every 150 ms; a live poll's answer is over well before the next tick.
Micros Quiet(int tick) {
  return tick * 150 * kMillisecond + 140 * kMillisecond;
}

TEST(ConnectionCountersTest, EqualTheFaultsPutOnTheLine) {
  ProgramHarness harness;
  // A frame with a bad checksum (6 bytes), then five stray bytes, between two answers.
  harness.desktop.At(Quiet(10), [&] {
    const std::uint8_t badFrame[] = {0x02, 0x21, 0x00, 0x10, 0x99, 0x0D};
    harness.line.InjectToProgram(badFrame);
  });
  harness.desktop.At(Quiet(14), [&] {
    const std::uint8_t noise[] = {0x55, 0xAA, 0x00, 0xFF, 0x0D};
    harness.line.InjectToProgram(noise);
  });
  // One lost reply during a block read: the one for register 85.
  bool lost = false;
  harness.line.loseToProgram = [&](const std::vector<std::uint8_t>& batch) {
    if (!lost && batch.size() == 6 && batch[1] == 85) {
      lost = true;
      return true;
    }
    return false;
  };
  int readResult = -1;
  harness.desktop.At(3 * kSecond,
                     [&] { readResult = RunBlockTransfer(harness.program.link, 80, 'Q'); });
  harness.desktop.At(10 * kSecond, [&] {
    const Connection& connection = harness.program.link.connection;
    EXPECT_EQ(connection.state, LinkState::Answering);
    EXPECT_EQ(connection.counters.bytesDiscarded, 11u);
    EXPECT_EQ(connection.counters.requestsRepeated, 1u);
    // Live polls: 20 frames of 6 bytes every 150 ms, 800 bytes/s at most on the wire.
    EXPECT_GT(BytesPerSecond(connection), 600u);
    EXPECT_LE(BytesPerSecond(connection), 960u);
    const auto& wire = harness.line.SentByController();
    const std::uint64_t arrived = wire.size() - 6 + 11;  // the lost frame out, injected in
    EXPECT_LE(connection.counters.bytesReceived, arrived);
    EXPECT_GE(connection.counters.bytesReceived + 6 * 20, arrived) << "at most one answer unread";
    EXPECT_EQ(connection.counters.bytesReceived, connection.counters.framesTaken * 6 +
                                                     connection.counters.bytesDiscarded +
                                                     connection.bytesInFrame);
  });
  harness.RunUntil(10 * kSecond + kMillisecond);
  EXPECT_TRUE(lost);
  EXPECT_EQ(readResult, 1);
  const std::string line = StatusLineOf(harness);
  EXPECT_EQ(line.find("controller answering \u00b7 COM1 \u00b7 "), 0u)
      << "the state first: " << line;
  EXPECT_NE(line.find(" \u00b7 11 discarded \u00b7 1 repeated \u00b7 "), std::string::npos) << line;
}

TEST(ConnectionCountersTest, SilenceIsShownInWholeSeconds) {
  ProgramHarness harness;
  harness.desktop.At(2 * kSecond,
                     [&] { harness.line.loseToProgram = [](const auto&) { return true; }; });
  std::string silent;
  harness.desktop.At(6 * kSecond, [&] { silent = StatusLineOf(harness); });
  harness.RunUntil(6 * kSecond + kMillisecond);
  EXPECT_NE(silent.find("no answer for 3 s"), std::string::npos) << silent;
}

// The adapter is pulled out at 3 s, while a block read runs, and plugged back in at 6 s.
TEST(UnplugTest, PortIsClosedReopenedBySecondAndTheReadCompletes) {
  ProgramHarness harness(std::string("COM1") + std::string(96, 'x'));
  harness.ports.devicePaths["COM1"] = "/dev/ttyUSB0";
  harness.controller.SetRegister(90, 1234);
  int readResult = -1;
  harness.desktop.At(2900 * kMillisecond,
                     [&] { readResult = RunBlockTransfer(harness.program.link, 80, 'Q'); });
  harness.desktop.At(3 * kSecond, [&] { harness.ports.removed.insert("COM1"); });
  std::string during;
  std::size_t attemptsAtReturn = 0;
  harness.desktop.At(5 * kSecond, [&] { during = StatusLineOf(harness); });
  harness.desktop.At(6 * kSecond, [&] {
    attemptsAtReturn = harness.device.OpenAttempts().size();
    harness.ports.removed.erase("COM1");
  });
  Micros answeringAgainAt = 0;
  for (Micros at = 6 * kSecond; at < 10 * kSecond; at += 10 * kMillisecond) {
    harness.desktop.At(at, [&, at] {
      if (answeringAgainAt == 0 && harness.program.link.connection.state == LinkState::Answering) {
        answeringAgainAt = at;
      }
    });
  }
  harness.RunUntil(15 * kSecond);

  EXPECT_EQ(during, "adapter removed, reconnecting \u00b7 COM1 \u2192 /dev/ttyUSB0");
  // Tries at about 1 s intervals while gone: three in three seconds, give or take one.
  EXPECT_GE(attemptsAtReturn, 1u + 2u);
  EXPECT_LE(attemptsAtReturn, 1u + 4u);
  ASSERT_GT(answeringAgainAt, 0);
  EXPECT_LE(answeringAgainAt, 8 * kSecond) << "polling resumes within 2 s of the return";
  EXPECT_EQ(readResult, 1) << "the transfer dialog stayed open and completed";
  EXPECT_EQ(ImageValue(harness.program.link.image, 90), 1234);
  EXPECT_TRUE(harness.desktop.Messages().empty()) << "no box while the adapter was gone";
  EXPECT_EQ(testing::ReadFile(harness.dir / "zavmon.cfg"), "COM1" + std::string(96, 'x'));
  EXPECT_NE(StatusLineOf(harness).find("controller answering"), std::string::npos);
}

// The connection's segment without its counters, which move with every second.
std::string WithoutCounters(const std::string& segment) {
  const std::size_t frames = segment.find(" frames \u00b7 ");
  if (frames == std::string::npos) {
    return segment;
  }
  return segment.substr(0, segment.rfind(" \u00b7 ", frames));
}

// Another program holds COM1 when the window starts and lets go of it at 3 s: the port is
// tried about once a second meanwhile, with nothing on the wire, and once it is got the
// live polls come on the tick's own pace, the segment says when (local time, 14:02:31 UTC
// in Central European Time), and the settings file is as it was.
TEST(BusyPortTest, IsTriedEverySecondUntilFreeAndTheSegmentSaysWhenItWasGot) {
  const testing::LocalZone zone("CET-1");
  const std::string settings = "COM1" + std::string(96, 'x');
  ProgramHarness harness(settings);
  harness.ports.devicePaths["COM1"] = "/dev/ttyUSB0";
  harness.ports.held.insert("COM1");
  constexpr std::int64_t k140228Utc = 1'796'824'948'000;  // 2026-12-09 14:02:28 UTC, ms
  harness.program.dataLog.source.clock.unixMs = [&] {
    return k140228Utc + harness.clock.Now() / kMillisecond;
  };
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // the start's "Error opening ..."
  std::size_t attemptsWhileBusy = 0;
  harness.desktop.At(3 * kSecond, [&] {
    attemptsWhileBusy = harness.device.OpenAttempts().size();
    harness.ports.held.erase("COM1");
  });
  std::vector<std::string> segments;  // in order, each once
  for (Micros at = 0; at < 6 * kSecond; at += 10 * kMillisecond) {
    harness.desktop.At(at, [&] {
      const std::vector<std::string>& shown =
          harness.desktop.Newest(kMainTemplateId)->statusSegments;
      const std::string segment = shown.empty() ? std::string() : WithoutCounters(shown[0]);
      if (!segment.empty() && (segments.empty() || segments.back() != segment)) {
        segments.push_back(segment);
      }
    });
  }
  harness.RunUntil(6 * kSecond);

  const std::string port = " \u00b7 COM1 \u2192 /dev/ttyUSB0";
  const std::string got = " \u00b7 got the port at 15:02:31";
  EXPECT_EQ(segments, (std::vector<std::string>{"port busy, retrying" + port,
                                                "open, waiting for the controller" + port + got,
                                                "controller answering" + port + got}));
  // The start's open, then one try about every second: two by 3 s, the third gets it.
  EXPECT_EQ(attemptsWhileBusy, 1u + 2u);
  EXPECT_EQ(harness.device.OpenAttempts(), std::vector<std::string>(1 + 3, "COM1"));
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  EXPECT_EQ(harness.desktop.Messages()[0].text, "Error opening serial port - check setting");

  // Only live polls, one a tick from the tick after the port was got, as on a healthy line.
  const auto& sent = harness.line.SentByProgram();
  ASSERT_GE(sent.size(), 7u * 10u);
  EXPECT_GT(sent.front().at, 3 * kSecond);
  EXPECT_LT(sent.front().at, 3 * kSecond + 3 * 150 * kMillisecond) << "got at the next try";
  for (std::size_t i = 7; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].byte, sent[i - 7].byte) << "byte " << i;
    if (i % 7 == 0) {
      EXPECT_EQ(sent[i].at - sent[i - 7].at, 150 * kMillisecond) << "frame " << i / 7;
    }
  }
  EXPECT_EQ(sent[1].byte, 'Q');
  EXPECT_EQ(sent[2].byte, 32);
  EXPECT_EQ(harness.program.link.connection.state, LinkState::Answering);
  EXPECT_FALSE(harness.MainText(kStatusEdit).empty()) << "the Status box shows the answers";
  EXPECT_NE(harness.MainText(kStatusEdit), kStaleText);
  EXPECT_EQ(testing::ReadFile(harness.dir / "zavmon.cfg"), settings);
}

// The fitter leaves the start's box unanswered while another program holds COM1 and lets go
// of it at 3 s: the retries run behind the box from the start, the values say that nothing
// is read ("\u2014", empty bars, never a 0.00 that reads as a measurement), and once the
// port is got the box closes by itself, its advice no longer applying.
TEST(BusyPortTest, RetriesRunBehindTheStartBoxWhichClosesItselfWhenThePortIsGot) {
  const testing::LocalZone zone("CET-1");
  ProgramHarness harness;
  harness.ports.devicePaths["COM1"] = "/dev/ttyUSB0";
  harness.ports.held.insert("COM1");
  constexpr std::int64_t k162912Utc = 1'796'833'752'000;  // 2026-12-09 16:29:12 UTC, ms
  harness.program.dataLog.source.clock.unixMs = [&] {
    return k162912Utc + harness.clock.Now() / kMillisecond;
  };
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 60 * kSecond);  // never answered
  std::size_t attemptsWhileBusy = 0;
  std::map<int, std::string> textsWhileBusy;
  std::map<int, int> barsWhileBusy;
  harness.desktop.At(2900 * kMillisecond, [&] {
    attemptsWhileBusy = harness.device.OpenAttempts().size();
    for (const int edit : {1012, 1016, 1017, 1021, 1024, 1028, kStatusEdit}) {
      textsWhileBusy[edit] = harness.MainText(edit);
    }
    for (const int bar : {1003, 1007, 1008, 1106, 1107, 1108}) {
      barsWhileBusy[bar] = harness.Main(bar).barPosition;
    }
  });
  harness.desktop.At(3 * kSecond, [&] { harness.ports.held.erase("COM1"); });
  harness.RunUntil(6 * kSecond);

  EXPECT_EQ(attemptsWhileBusy, 1u + 2u) << "the start's open, then one try a second";
  for (const auto& [edit, text] : textsWhileBusy) {
    EXPECT_EQ(text, kStaleText) << "edit " << edit;
  }
  for (const auto& [bar, position] : barsWhileBusy) {
    EXPECT_LE(position, harness.Main(bar).barLow) << "bar " << bar << " stands empty";
  }
  const auto& messages = harness.desktop.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Error opening serial port - check setting");
  EXPECT_EQ(messages[0].caption, "Error");
  EXPECT_TRUE(messages[0].closedItself);
  EXPECT_GT(messages[0].closedAt, 3 * kSecond);
  EXPECT_LT(messages[0].closedAt, 4200 * kMillisecond) << "closed at the try that got the port";
  EXPECT_NE(StatusLineOf(harness).find("controller answering \u00b7 COM1 \u2192 /dev/ttyUSB0 "
                                       "\u00b7 got the port at 17:29:1"),
            std::string::npos)
      << StatusLineOf(harness);
  EXPECT_NE(harness.MainText(1024), kStaleText) << "values again once the controller answers";
  EXPECT_NE(harness.MainText(kStatusEdit), kStaleText);
}

TEST(PortListTest, ChoosingTheShownEntryAgainReopensThePort) {
  ProgramHarness harness;
  harness.desktop.At(1 * kSecond, [&] { harness.ports.removed.insert("COM1"); });
  harness.desktop.At(1200 * kMillisecond, [&] { harness.ports.removed.erase("COM1"); });
  std::size_t attemptsBefore = 0;
  harness.desktop.At(1300 * kMillisecond, [&] {
    attemptsBefore = harness.device.OpenAttempts().size();
    ASSERT_EQ(harness.Main(kPortListId).selection, 0);
    harness.desktop.Press(kMainTemplateId, kPortListId, kSelectionChange);
  });
  harness.RunUntil(2 * kSecond);
  EXPECT_EQ(harness.device.OpenAttempts().size(), attemptsBefore + 1);
  EXPECT_TRUE(harness.desktop.Messages().empty());
  EXPECT_NE(StatusLineOf(harness).find("controller answering"), std::string::npos);
}

// What the system tells the help, fixed.
class FixedSurvey final : public SerialSurvey {
 public:
  std::vector<SerialDeviceInfo> Devices() const override {
    return {{"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0",
             "FT232R USB UART", "FTDI", 0x0403, 0x6001, "A1B2C3"},
            {"/dev/ttyS0", "", "", "", std::nullopt, std::nullopt, ""}};
  }
  std::string GroupOf(const std::string& path) const override {
    return path == "/dev/ttyUSB2" ? "uucp" : "";
  }
  std::optional<DeviceLock> LockOf(const std::string& /*path*/) const override { return lock; }
  std::string Environment(const std::string& /*variable*/) const override { return {}; }
  bool Exists(const std::string& path) const override { return path == "/dev/ttyUSB2"; }

  std::optional<DeviceLock> lock;
};

class OpenErrorTest : public ::testing::TestWithParam<OpenErrorCase> {};

TEST_P(OpenErrorTest, StatusLineGivesTheReasonAndTheHelpSaysWhatToDo) {
  const OpenErrorCase& error = GetParam();
  ProgramHarness harness("COM3");
  harness.ports.lines["COM3"] = &harness.line;
  harness.ports.devicePaths["COM3"] = "/dev/ttyUSB2";
  harness.ports.openFaults["COM3"] = error.fault;
  FixedSurvey survey;
  survey.lock = error.lock;
  harness.program.survey = &survey;
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // the start-up box stays
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.desktop.At(500 * kMillisecond, [&] {
    harness.desktop.ChooseAddedItem(kMainTemplateId, kConnectionHelpCommand);
  });
  harness.desktop.At(600 * kMillisecond, [&] { harness.desktop.ClickStatusLine(kMainTemplateId); });
  harness.RunUntil(kSecond);

  EXPECT_EQ(StatusLineOf(harness), error.statusLine);
  const auto& messages = harness.desktop.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].text, "Error opening serial port - check setting");
  EXPECT_EQ(messages[1].caption, "Connection help");
  EXPECT_EQ(messages[2].text, messages[1].text) << "the click opens the same help";
  const std::string& help = messages[1].text;
  for (const std::string& says : error.helpSays) {
    EXPECT_NE(help.find(says), std::string::npos) << "missing \"" << says << "\" in\n" << help;
  }
  EXPECT_NE(help.find("/dev/ttyUSB0 \u2014 FT232R USB UART, FTDI, USB 0403:6001, serial A1B2C3\n"
                      "      /dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"),
            std::string::npos)
      << help;
  EXPECT_NE(help.find(kMappingNowSays), std::string::npos) << help;
}

std::string CaseName(const ::testing::TestParamInfo<OpenErrorCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Reasons, OpenErrorTest, ::testing::ValuesIn(OpenErrorCases()), CaseName);

TEST(NoPortTest, NoSettingsFileShowsNoPortChosen) {
  ProgramHarness harness(std::nullopt);
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.RunUntil(kSecond);
  EXPECT_EQ(StatusLineOf(harness), "no port chosen");
  EXPECT_EQ(harness.Main(kPortListId).selection, -1);
}

}  // namespace
}  // namespace zav
