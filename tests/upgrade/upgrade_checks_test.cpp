// The checks between the choice of a firmware file and the arming of the upload, by the
// whole program on the headless host against the in-process controller: each question
// comes up only under its condition, and its answer decides what is armed and what goes on
// the line. Also the words about the upload, and the warning after a stopped upload.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "resources/main_template.h"
#include "resources/menu.h"
#include "resources/petrol_wait_template.h"
#include "resources/transfer_template.h"
#include "tests/support/program_harness.h"
#include "tests/upgrade/upload_scenario.h"
#include "upgrade/firmware_layout.h"
#include "upgrade/upgrade_checks.h"
#include "upgrade/upload_report.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::Micros;
using testing::PatternBytes;
using testing::WireUnit;

constexpr Micros kChecksCommandAt = 1 * kSecond + 20 * kMillisecond;
constexpr Micros kQuestionOpenFor = 500 * kMillisecond;
constexpr Micros kChecksRunFor = 60 * kSecond;

class UpgradeChecksTest : public ::testing::Test {
 protected:
  // "Upgrade" at kChecksCommandAt, after the program was held for `heldFor` with no tick
  // running (as a file dialog that hangs on its way out holds it).
  void ChooseFile(std::size_t bytes, Micros heldFor = 0) {
    file = PatternBytes(bytes);
    const std::filesystem::path path = harness.dir / "firmware.zav";
    testing::WriteFile(path, file);
    harness.desktop.QueueFileAnswer(path.string());
    harness.desktop.At(kChecksCommandAt, [this, heldFor] {
      harness.clock.AdvanceTo(harness.clock.Now() + heldFor);
      harness.desktop.Press(kMainTemplateId, kCommandUpgrade);
    });
  }
  void Answer(MessageAnswer answer) {
    harness.desktop.QueueMessageAnswer(answer, kQuestionOpenFor);
  }
  // The controller sends nothing until `until` (us).
  void SilentUntil(Micros until) {
    sim::FaultOptions silent;
    silent.silenceEveryMs = 1;
    silent.silenceForMs = 1;
    harness.controller.SetFaults(silent);
    harness.desktop.At(until, [this] { harness.controller.SetFaults({}); });
  }
  // From `from` on, nothing the program sends reaches the controller.
  void DeafFrom(Micros from) {
    harness.desktop.At(from, [this] {
      sim::FaultOptions deaf;
      deaf.dropInputRate = 1.0;
      harness.controller.SetFaults(deaf);
    });
  }

  std::vector<WireUnit> Units() const {
    return testing::SplitProgramBytes(harness.line.SentByProgram());
  }
  int CountFrames(char letter) const {
    const std::vector<WireUnit> units = Units();
    return static_cast<int>(std::count_if(units.begin(), units.end(), [letter](const auto& u) {
      return u.kind == WireUnit::Kind::kFrame && u.bytes[1] == letter;
    }));
  }
  std::vector<const headless::MessageRecord*> Questions() const {
    std::vector<const headless::MessageRecord*> questions;
    for (const headless::MessageRecord& message : harness.desktop.Messages()) {
      if (!message.goOnLabel.empty()) {
        questions.push_back(&message);
      }
    }
    return questions;
  }
  // Nothing armed, nothing sent: after the command only the live polls went out.
  void ExpectNothingArmedOrSent() const {
    EXPECT_EQ(harness.program.link.cycle.upgradeArmed, UpgradeArming::Disarmed);
    EXPECT_TRUE(harness.desktop.DialogsOf(kTransferTemplateId).empty());
    for (const WireUnit& unit : Units()) {
      if (unit.at > kChecksCommandAt) {
        EXPECT_TRUE(unit.IsFrame('Q', 32)) << "only live polls after the command";
      }
    }
    EXPECT_TRUE(harness.controller.Firmware().empty());
  }

  testing::ProgramHarness harness;
  std::string file;
};

// A case: the condition, the question it raises, the answer, and whether the upload runs.
struct CheckCase {
  const char* name;
  std::size_t fileBytes;
  void (*condition)(UpgradeChecksTest& test);
  std::string question;
  const char* goOnLabel;
  MessageAnswer answer;

  friend void PrintTo(const CheckCase& test, std::ostream* out) { *out << test.name; }
};

class EachCheckTest : public UpgradeChecksTest, public ::testing::WithParamInterface<CheckCase> {
 public:
  void SilentUntilTheAnswer() {
    SilentUntil(kChecksCommandAt + kQuestionOpenFor - 100 * kMillisecond);
  }
  void RunsOnGas() { harness.controller.SetRegister(kStatusRegister, kStatusGas); }
};

const std::string kSilent = "No controller is answering on COM1. Upgrade anyway?";
const std::string kLong = "Only the first 30,720 of 40,000 bytes will be sent. Go on?";
const std::string kShort =
    "The file has only 20,000 bytes; the controller's image is 30,720 bytes and the rest will "
    "be zeros. Go on?";
const std::string kOnGas = "The controller runs on gas. Switch to petrol before the upgrade?";

void NoCondition(UpgradeChecksTest&) {}
void Silent(UpgradeChecksTest& test) {
  static_cast<EachCheckTest&>(test).SilentUntilTheAnswer();
}
void OnGas(UpgradeChecksTest& test) {
  static_cast<EachCheckTest&>(test).RunsOnGas();
}

TEST_P(EachCheckTest, AsksOnlyUnderItsConditionAndTheAnswerDecidesTheUpload) {
  const CheckCase& check = GetParam();
  check.condition(*this);
  ChooseFile(check.fileBytes);
  Answer(check.answer);
  harness.RunUntil(kChecksRunFor);

  const auto questions = Questions();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0]->text, check.question);
  EXPECT_EQ(questions[0]->goOnLabel, check.goOnLabel);
  EXPECT_EQ(harness.desktop.Messages().size(), 1u) << "no other box";
  if (check.answer == MessageAnswer::Cancel) {
    ExpectNothingArmedOrSent();
    EXPECT_EQ(CountFrames('B'), 0);
    return;
  }
  EXPECT_EQ(CountFrames('U'), 1);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file))
      << "the image, the file's first 30,720 bytes, arrives whole";
}

INSTANTIATE_TEST_SUITE_P(
    Checks, EachCheckTest,
    ::testing::Values(
        CheckCase{"SilentCancel", kFirmwareImageBytes, Silent, kSilent, "Upgrade anyway",
                  MessageAnswer::Cancel},
        CheckCase{"SilentUpgradeAnyway", kFirmwareImageBytes, Silent, kSilent, "Upgrade anyway",
                  MessageAnswer::Ok},
        CheckCase{"LongFileCancel", 40000, NoCondition, kLong, "Go on", MessageAnswer::Cancel},
        CheckCase{"LongFileGoOn", 40000, NoCondition, kLong, "Go on", MessageAnswer::Ok},
        CheckCase{"ShortFileCancel", 20000, NoCondition, kShort, "Go on", MessageAnswer::Cancel},
        CheckCase{"ShortFileGoOn", 20000, NoCondition, kShort, "Go on", MessageAnswer::Ok},
        CheckCase{"OnGasCancel", kFirmwareImageBytes, OnGas, kOnGas, "Switch and upgrade",
                  MessageAnswer::Cancel},
        CheckCase{"OnGasSwitchAndUpgrade", kFirmwareImageBytes, OnGas, kOnGas, "Switch and upgrade",
                  MessageAnswer::Ok}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(UpgradeChecksTest, SwitchAndUpgradeSendsTheSwitchAndUploadsOncePetrolIsReported) {
  harness.controller.SetRegister(kStatusRegister, kStatusGas);
  std::optional<std::uint16_t> statusAtUpgradeFrame;
  harness.controller.onRequest = [&](const sim::ReceivedRequest& request) {
    if (request.letter == 'U') {
      statusAtUpgradeFrame = harness.controller.Status();
    }
  };
  ChooseFile(kFirmwareImageBytes);
  Answer(MessageAnswer::Ok);
  harness.RunUntil(kChecksRunFor);

  std::vector<char> commands;  // the letters other than live polls, in order
  for (const WireUnit& unit : Units()) {
    if (unit.kind == WireUnit::Kind::kFrame && !unit.IsFrame('Q', 32)) {
      commands.push_back(static_cast<char>(unit.bytes[1]));
    }
  }
  EXPECT_EQ(commands, (std::vector<char>{'B', 'U'}));
  EXPECT_EQ(statusAtUpgradeFrame, kStatusPetrol);
  const headless::DialogRecord* wait = harness.desktop.Newest(kPetrolWaitTemplateId);
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(wait->result, 1);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
}

TEST_F(UpgradeChecksTest, AProgramHeldWithNoTickRunningDoesNotTakeTheControllerForSilent) {
  ChooseFile(kFirmwareImageBytes, 3 * kSecond);
  harness.RunUntil(kChecksRunFor);
  EXPECT_TRUE(harness.desktop.Messages().empty());
  EXPECT_EQ(CountFrames('U'), 1);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
}

TEST_F(UpgradeChecksTest, ControllerFallingSilentBehindAQuestionIsAskedAboutBeforeArming) {
  // On gas and answering at the first check; silent from the moment the long-file question
  // opens until long after it was answered.
  harness.controller.SetRegister(kStatusRegister, kStatusGas);
  harness.desktop.At(kChecksCommandAt + 50 * kMillisecond, [this] {
    sim::FaultOptions silent;
    silent.silenceEveryMs = 1;
    silent.silenceForMs = 1;
    harness.controller.SetFaults(silent);
  });
  ChooseFile(40000);
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 5 * kSecond);  // "Go on", slowly
  Answer(MessageAnswer::Cancel);  // the controller is silent now
  harness.RunUntil(kChecksRunFor);

  const auto questions = Questions();
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0]->text, kLong);
  EXPECT_EQ(questions[1]->text, kSilent);
  EXPECT_EQ(questions[1]->goOnLabel, "Upgrade anyway");
  ExpectNothingArmedOrSent();
  EXPECT_EQ(CountFrames('B'), 0) << "a silent controller is not switched";
}

TEST_F(UpgradeChecksTest, WaitForPetrolGivesUpAfterTenSecondsWithAMessageAndArmsNothing) {
  harness.controller.SetRegister(kStatusRegister, kStatusGas);
  DeafFrom(kChecksCommandAt);  // the switch never arrives; neither do the polls
  ChooseFile(kFirmwareImageBytes);
  Answer(MessageAnswer::Ok);
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.RunUntil(kChecksRunFor);

  const headless::DialogRecord* wait = harness.desktop.Newest(kPetrolWaitTemplateId);
  ASSERT_NE(wait, nullptr);
  const Micros waited = wait->closedAt.value_or(0) - wait->openedAt;
  EXPECT_GE(waited, 10 * kSecond);
  EXPECT_LE(waited, 10 * kSecond + 100 * kMillisecond);
  ASSERT_EQ(harness.desktop.Messages().size(), 2u);
  EXPECT_EQ(harness.desktop.Messages()[1].text,
            "The controller did not report \"Petrol\" within 10 s. The upgrade was not started.");
  EXPECT_EQ(CountFrames('U'), 0);
  EXPECT_EQ(harness.program.link.cycle.upgradeArmed, UpgradeArming::Disarmed);
  EXPECT_TRUE(harness.desktop.DialogsOf(kTransferTemplateId).empty());
}

TEST_F(UpgradeChecksTest, CancelWhileWaitingForPetrolArmsNothingAndSaysNothing) {
  harness.controller.SetRegister(kStatusRegister, kStatusGas);
  DeafFrom(kChecksCommandAt);
  ChooseFile(kFirmwareImageBytes);
  Answer(MessageAnswer::Ok);
  harness.desktop.At(kChecksCommandAt + 3 * kSecond, [this] {
    harness.desktop.Press(kPetrolWaitTemplateId, kPetrolWaitCancelButton);
  });
  harness.RunUntil(kChecksRunFor);

  EXPECT_EQ(harness.desktop.Newest(kPetrolWaitTemplateId)->result, 0);
  EXPECT_EQ(harness.desktop.Messages().size(), 1u) << "only the question";
  EXPECT_EQ(CountFrames('U'), 0);
  EXPECT_EQ(harness.program.link.cycle.upgradeArmed, UpgradeArming::Disarmed);
}

// Cancel asks first; the upload goes on behind the question until it is answered "Stop".
TEST_F(UpgradeChecksTest, StoppedUploadIsConfirmedThenWarnedOfOnceWhilePollingHasResumed) {
  ChooseFile(kFirmwareImageBytes);
  harness.desktop.At(8 * kSecond,
                     [this] { harness.desktop.Press(kTransferTemplateId, kTransferCancelButton); });
  int blockAtCancel = 0;
  harness.desktop.At(
      8 * kSecond, [this, &blockAtCancel] { blockAtCancel = harness.program.upload.blockCounter; });
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 1 * kSecond);  // "Stop"
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 2 * kSecond);  // OK, not again
  harness.RunUntil(20 * kSecond);

  const int block = harness.program.upload.blockCounter;
  EXPECT_GT(blockAtCancel, 40);
  EXPECT_GT(block, blockAtCancel + 3) << "blocks went on behind the question";
  EXPECT_LT(block, 80);
  ASSERT_EQ(harness.desktop.Messages().size(), 2u);
  const headless::MessageRecord& stop = harness.desktop.Messages()[0];
  EXPECT_EQ(stop.text, "Stop the upgrade? The controller will hold an incomplete image.");
  EXPECT_EQ(stop.goOnLabel, "Stop");
  EXPECT_EQ(stop.buttons, MessageButtons::OkCancel) << "Cancel, going on, is the default";
  const headless::MessageRecord& warning = harness.desktop.Messages()[1];
  EXPECT_EQ(warning.goOnLabel, "Upgrade again");
  EXPECT_EQ(warning.buttons, MessageButtons::Ok);
  EXPECT_EQ(warning.text, "The upgrade was stopped at block " + std::to_string(block) +
                              " of 240. The controller may hold an incomplete image: run the "
                              "upgrade again before the vehicle is driven.");
  EXPECT_EQ(warning.icon, MessageIcon::Warning);
  int pollsBehindTheBox = 0;
  for (const WireUnit& unit : Units()) {
    pollsBehindTheBox +=
        unit.IsFrame('Q', 32) && unit.at > warning.shownAt && unit.at < warning.closedAt;
  }
  EXPECT_GE(pollsBehindTheBox, 10) << "the live values are polled again while it is open";
  EXPECT_TRUE(harness.controller.Firmware().empty()) << "the controller holds no whole image";
}

// Cancel answered with Cancel goes on; a stop then offers "Upgrade again", which chooses a
// file anew and uploads it whole.
TEST_F(UpgradeChecksTest, CancelCanBeTakenBackAndUpgradeAgainRunsTheWholeUpgrade) {
  ChooseFile(kFirmwareImageBytes);
  harness.desktop.At(5 * kSecond,
                     [this] { harness.desktop.Press(kTransferTemplateId, kTransferCancelButton); });
  harness.desktop.QueueMessageAnswer(MessageAnswer::Cancel, 1 * kSecond);  // go on
  harness.desktop.At(10 * kSecond,
                     [this] { harness.desktop.Press(kTransferTemplateId, kTransferCancelButton); });
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 1 * kSecond);   // "Stop"
  harness.desktop.QueueMessageAnswer(MessageAnswer::Yes, 1 * kSecond);  // "Upgrade again"
  harness.desktop.QueueFileAnswer((harness.dir / "firmware.zav").string());
  harness.RunUntil(2 * kChecksRunFor);

  ASSERT_EQ(harness.desktop.Messages().size(), 3u);
  EXPECT_EQ(harness.desktop.Messages()[2].goOnLabel, "Upgrade again");
  EXPECT_EQ(harness.desktop.DialogsOf(kTransferTemplateId).size(), 2u) << "a second upload";
  EXPECT_EQ(CountFrames('U'), 2);
  EXPECT_EQ(harness.controller.Firmware(), testing::ExpectedImage(file));
  EXPECT_EQ(harness.program.upload.ending, UploadEnding::kFinished);
}

TEST_F(UpgradeChecksTest, StatusLineFollowsTheUploadOncePerTickAndSaysHowItEnded) {
  ChooseFile(kFirmwareImageBytes);
  std::string midway;
  int updatesBefore = 0;
  int updatesMidway = 0;
  harness.desktop.At(10 * kSecond, [&] {
    const headless::DialogRecord* main = harness.desktop.Newest(kMainTemplateId);
    midway = main->statusLine.value_or("");
    updatesMidway = main->statusLineUpdates;
  });
  harness.desktop.At(kChecksCommandAt + 100 * kMillisecond, [&] {
    updatesBefore = harness.desktop.Newest(kMainTemplateId)->statusLineUpdates;
  });
  harness.RunUntil(kChecksRunFor);

  EXPECT_NE(midway.find("Upgrade: block "), std::string::npos) << midway;
  EXPECT_NE(midway.find(" s left \u00b7 live values paused"), std::string::npos) << midway;
  const Micros ticksMidway = (10 * kSecond - kChecksCommandAt) / (150 * kMillisecond) + 1;
  EXPECT_LE(updatesMidway - updatesBefore, ticksMidway) << "at most once per tick";

  const headless::DialogRecord* upload = harness.desktop.Newest(kTransferTemplateId);
  ASSERT_NE(upload, nullptr);
  const Micros tenths =
      (*upload->closedAt - upload->openedAt + 50 * kMillisecond) / (100 * kMillisecond);
  const std::string finished = "Upgrade finished: 240 blocks in " + std::to_string(tenths / 10) +
                               "." + std::to_string(tenths % 10) + " s, 0 repeats";
  EXPECT_EQ(harness.program.statusLine.upgrade, finished);
  const std::string shown = harness.desktop.Newest(kMainTemplateId)->statusLine.value_or("");
  EXPECT_TRUE(shown.ends_with(finished)) << shown;
  EXPECT_TRUE(harness.desktop.Messages().empty());
}

TEST(UploadWordsTest, ProgressFinishAndStopReadAsTheFitterExpects) {
  UploadState upload;
  upload.blockCounter = 57;
  upload.repeats = 2;
  upload.startedAtMs = 1000;
  upload.ending = UploadEnding::kRunning;
  EXPECT_EQ(UpgradeStatusText(upload, 9000),
            "Upgrade: block 57 of 240 \u00b7 2 repeats \u00b7 8 s \u00b7 about 26 s left "
            "\u00b7 live values paused");
  upload.blockCounter = 1;
  upload.repeats = 1;
  EXPECT_EQ(UpgradeStatusText(upload, 1500),
            "Upgrade: block 1 of 240 \u00b7 1 repeat \u00b7 0 s \u00b7 live values paused");

  upload.ending = UploadEnding::kFinished;
  upload.repeats = 3;
  upload.endedAtMs = 35300;
  EXPECT_EQ(UpgradeStatusText(upload, 40000), "Upgrade finished: 240 blocks in 34.3 s, 3 repeats");

  upload.ending = UploadEnding::kStopped;
  upload.blockCounter = kFirmwareBlocks + 1;  // stopped while the EOT waited for its ACK
  EXPECT_EQ(UploadStoppedWarning(upload),
            "The upgrade was stopped at block 240 of 240. The controller may hold an "
            "incomplete image: run the upgrade again before the vehicle is driven.");
  EXPECT_EQ(WithThousands(40000), "40,000");
  EXPECT_EQ(WithThousands(1234567), "1,234,567");
  EXPECT_EQ(WithThousands(999), "999");
}

}  // namespace
}  // namespace zav
