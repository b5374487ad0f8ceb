// The error and version reports: their texts, and the whole command against the in-process
// controller, from the block read to the 'C' frame.

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/transfer_template.h"
#include "tests/support/link_harness.h"
#include "ui/reports.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::LinkHarness;
using testing::SentFrame;

const RequestBytes kClearFrame{0x02, 0x43, 0x00, 0x00, 0x00, 0x45, 0x0D};
const RequestBytes kLivePoll{0x02, 0x51, 0x20, 0x00, 0x00, 0x73, 0x0D};

struct ErrorCase {
  std::uint16_t flags;
  const char* text;

  friend void PrintTo(const ErrorCase& test, std::ostream* out) { *out << test.flags; }
};

class ErrorReportTextTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorReportTextTest, ListsTheSetFlagsInTableOrder) {
  EXPECT_EQ(ErrorReportText(GetParam().flags), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ErrorReportTextTest,
    ::testing::Values(ErrorCase{0x0000, "No errors"}, ErrorCase{0x00FE, "No errors"},
                      ErrorCase{0x8101, "Short Circuit GAS1\nDisconnect gas 4\nPvap > 2400\n"},
                      ErrorCase{0x0A00, "Short Circuit GAS2\nShort Circuit GAS4\n"},
                      ErrorCase{0x7001,
                                "Disconnect gas 1\nDisconnect gas 2\nDisconnect gas 3\n"
                                "Pvap > 2400\n"},
                      ErrorCase{0xFFFF,
                                "Short Circuit GAS1\nShort Circuit GAS2\nShort Circuit GAS3\n"
                                "Short Circuit GAS4\nDisconnect gas 1\nDisconnect gas 2\n"
                                "Disconnect gas 3\nDisconnect gas 4\nPvap > 2400\n"}));

TEST(ErrorReportTextTest, AllFlagsMakeTheLongestText156Characters) {
  EXPECT_EQ(ErrorReportText(0xFFFF).size(), 156u);
}

RegisterImage VersionImage(std::uint16_t r95, std::uint16_t r96, std::uint16_t r97,
                           std::uint16_t r98, std::uint16_t r99, std::uint16_t r100,
                           std::uint16_t r101) {
  RegisterImage image;
  const std::uint16_t values[] = {r95, r96, r97, r98, r99, r100, r101};
  for (std::uint8_t i = 0; i < 7; ++i) {
    ImageValue(image, static_cast<std::uint8_t>(95 + i)) = values[i];
  }
  ImageValue(image, 102) = 0xFFFF;  // read along, never shown
  return image;
}

struct VersionCase {
  const char* name;
  RegisterImage image;
  const char* text;

  friend void PrintTo(const VersionCase& test, std::ostream* out) { *out << test.name; }
};

class VersionReportTextTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionReportTextTest, ShowsVersionsAndSerialNumber) {
  EXPECT_EQ(VersionReportText(GetParam().image), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Registers, VersionReportTextTest,
    ::testing::Values(
        VersionCase{"Example", VersionImage(0x3130, 0x3233, 0x3034, 0x3132, 0x0601, 0x2203, 0x0457),
                    "HW ver: 1.0.2.3\nFW ver: 04.12\nS/N: 060291-197719"},
        // 0xFF + 1 is added before the OR: 0x0100 | 0x0100, so 256, not 512.
        VersionCase{"MiddleCarryIsOredIn",
                    VersionImage(0x3130, 0x3233, 0x3034, 0x3132, 0x0001, 0xFF00, 0x0000),
                    "HW ver: 1.0.2.3\nFW ver: 04.12\nS/N: 000256-00000"},
        VersionCase{"ZeroSerialShowsMiddleOne",
                    VersionImage(0x3130, 0x3233, 0x3034, 0x3132, 0x0000, 0x0000, 0x0000),
                    "HW ver: 1.0.2.3\nFW ver: 04.12\nS/N: 000001-00000"},
        VersionCase{"LongestText",
                    VersionImage(0x4142, 0x4344, 0x4546, 0x4748, 0xFFFF, 0xFFFF, 0xFFFF),
                    "HW ver: A.B.C.D\nFW ver: EF.GH\nS/N: 25565280-16777215"},
        VersionCase{"ZeroCharacterEndsTheText",
                    VersionImage(0x3130, 0x3200, 0x3034, 0x3132, 0x0601, 0x2203, 0x0457),
                    "HW ver: 1.0.2."},
        VersionCase{"ZeroFirmwareCharacterEndsTheText",
                    VersionImage(0x3130, 0x3233, 0x0034, 0x3132, 0x0601, 0x2203, 0x0457),
                    "HW ver: 1.0.2.3\nFW ver: "}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(VersionReportTextTest, LongestTextIs52Characters) {
  const RegisterImage image = VersionImage(0x4142, 0x4344, 0x4546, 0x4748, 0xFFFF, 0xFFFF, 0xFFFF);
  EXPECT_EQ(VersionReportText(image).size(), 52u);
}

// The commands on the link against the controller; the box is answered 400 ms after it
// opens, while the poll ticks go on behind it.
class ReportCommandTest : public ::testing::Test {
 protected:
  const headless::Micros commandAt = LinkHarness::TickTime(3) + 20 * kMillisecond;

  void RunCommand(void (*command)(Link&), headless::Micros end = 5 * kSecond) {
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 400 * kMillisecond);
    harness.desktop.At(commandAt, [this, command] { command(harness.link); });
    harness.RunUntil(end);
  }
  std::vector<SentFrame> FramesWithLetter(char letter) const {
    std::vector<SentFrame> frames;
    for (const SentFrame& frame : harness.FramesSent()) {
      if (frame.Letter() == letter) {
        frames.push_back(frame);
      }
    }
    return frames;
  }

  LinkHarness harness;
};

TEST_F(ReportCommandTest, ErrorReportListsTheControllersFlagsInAPlainBox) {
  harness.controller.SetErrorFlags(0x8101);
  RunCommand(ErrorReport);
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  const headless::MessageRecord& box = harness.desktop.Messages().front();
  EXPECT_EQ(box.text, "Short Circuit GAS1\nDisconnect gas 4\nPvap > 2400\n");
  EXPECT_EQ(box.caption, "Errors" + std::string(36, ' '));
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
  EXPECT_EQ(box.icon, MessageIcon::None);
  EXPECT_EQ(box.owner, harness.link.mainWindow);
  EXPECT_EQ(harness.desktop.Newest(kTransferTemplateId)->result, 1);
}

class ClearAfterReportTest : public ReportCommandTest,
                             public ::testing::WithParamInterface<std::uint16_t> {};

TEST_P(ClearAfterReportTest, ClearFrameGoesOutOnceAfterTheBoxThenTheLivePoll) {
  harness.controller.SetErrorFlags(GetParam());
  RunCommand(ErrorReport);
  const std::vector<SentFrame> clears = FramesWithLetter('C');
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears.front().bytes, kClearFrame);
  const std::vector<SentFrame> tick = harness.FramesOfTick(clears.front().tick);
  ASSERT_EQ(tick.size(), 2u);
  EXPECT_EQ(tick[1].bytes, kLivePoll);
  // The tick that sent it began after the box had closed.
  const headless::Micros boxClosed = harness.desktop.Messages().front().closedAt;
  EXPECT_GE(LinkHarness::TickTime(clears.front().tick), boxClosed);
  EXPECT_LT(LinkHarness::TickTime(clears.front().tick), boxClosed + 150 * kMillisecond);
  EXPECT_EQ(harness.controller.Register(102), 0) << "the controller cleared its flags";
  EXPECT_EQ(CurrentCommand(harness.link), 'Q');
}

INSTANTIATE_TEST_SUITE_P(Flags, ClearAfterReportTest, ::testing::Values(0x0000, 0x00FE, 0xFFFF));

TEST_F(ReportCommandTest, PollingGoesOnWhileTheErrorBoxIsOpen) {
  RunCommand(ErrorReport);
  const headless::MessageRecord& box = harness.desktop.Messages().front();
  int livePolls = 0;
  for (const SentFrame& frame : harness.FramesSent()) {
    const headless::Micros at = LinkHarness::TickTime(frame.tick);
    livePolls += at > box.shownAt && at < box.closedAt && frame.bytes == kLivePoll ? 1 : 0;
  }
  EXPECT_GE(livePolls, 2);
}

TEST_F(ReportCommandTest, VersionReportShowsTheControllersVersionInAnInfoBox) {
  const std::uint16_t values[] = {0x3130, 0x3233, 0x3034, 0x3132, 0x0601, 0x2203, 0x0457};
  for (std::uint8_t i = 0; i < 7; ++i) {
    harness.controller.SetRegister(static_cast<std::uint8_t>(95 + i), values[i]);
  }
  RunCommand(VersionReport);
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  const headless::MessageRecord& box = harness.desktop.Messages().front();
  EXPECT_EQ(box.text, "HW ver: 1.0.2.3\nFW ver: 04.12\nS/N: 060291-197719");
  EXPECT_EQ(box.caption, "Info" + std::string(36, ' '));
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
  EXPECT_EQ(box.icon, MessageIcon::None);
  EXPECT_TRUE(FramesWithLetter('C').empty());
  std::vector<int> requested;
  for (const SentFrame& frame : FramesWithLetter('Q')) {
    if (frame.Address() >= 80) {
      requested.push_back(frame.Address());
    }
  }
  EXPECT_EQ(requested, (std::vector<int>{95, 96, 97, 98, 99, 100, 101, 102}));
}

// Characters above 0x7F reach the box as the one character each byte is in Latin-1, like
// the names of stored configurations, never as a replacement mark.
TEST_F(ReportCommandTest, VersionCharactersAbove0x7FAreShownAsTheirLatin1Characters) {
  const std::uint16_t values[] = {0x31C9, 0x322E, 0xB0FF, 0x41E9, 0x0601, 0x2203, 0x0457};
  for (std::uint8_t i = 0; i < 7; ++i) {
    harness.controller.SetRegister(static_cast<std::uint8_t>(95 + i), values[i]);
  }
  RunCommand(VersionReport);
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  EXPECT_EQ(harness.desktop.Messages().front().text,
            "HW ver: 1.\xC3\x89.2..\nFW ver: \xC2\xB0\xC3\xBF.A\xC3\xA9\nS/N: 060291-197719")
      << "1.\u00C9.2.. and \u00B0\u00FF.A\u00E9 in UTF-8";
}

// Cancel in the transfer dialog, for either report.
class CancelledReportTest : public ReportCommandTest,
                            public ::testing::WithParamInterface<void (*)(Link&)> {};

TEST_P(CancelledReportTest, ShowsNothingAndSendsNoClearFrame) {
  harness.line.loseToProgram = [](const std::vector<std::uint8_t>& batch) {
    return batch.size() == 6 && batch[1] >= 80;  // the register replies never come
  };
  harness.desktop.At(commandAt + 1 * kSecond,
                     [this] { harness.desktop.Press(kTransferTemplateId, kTransferCancelButton); });
  harness.desktop.At(commandAt, [this] { GetParam()(harness.link); });
  harness.RunUntil(4 * kSecond);
  EXPECT_EQ(harness.desktop.Newest(kTransferTemplateId)->result, 0);
  EXPECT_TRUE(harness.desktop.Messages().empty());
  EXPECT_TRUE(FramesWithLetter('C').empty());
  EXPECT_EQ(CurrentCommand(harness.link), 'Q');
  EXPECT_EQ(harness.link.cycle.transferCursor, kNoTransfer);
}

INSTANTIATE_TEST_SUITE_P(Reports, CancelledReportTest,
                         ::testing::Values(ErrorReport, VersionReport), [](const auto& test) {
                           return test.param == ErrorReport ? "ErrorReport" : "VersionReport";
                         });

}  // namespace
}  // namespace zav
