// The parameter commands in the running program: a main window with its poll tick against
// the simulated controller, on virtual time.

#include <gtest/gtest.h>

#include "link/wire.h"
#include "params/parameter_file.h"
#include "params/parameter_set.h"
#include "resources/menu.h"
#include "resources/parameters_template.h"
#include "tests/params/params_harness.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::kTick;
using testing::LibraryRecord;
using testing::ParamsHarness;
using testing::SettingsWith;
using testing::WordBytes;
using testing::WriteFile;

constexpr ParameterWords kScenarioGolf{45,   510,   640, 700,  210, 450, 3100, 620,
                                       4100, 47000, 6,   1900, 3,   11,  12};

int WriteRequests(const ParamsHarness& harness) {
  int count = 0;
  for (const auto& request : harness.controller.Requests()) {
    count += request.letter == 'S' ? 1 : 0;
  }
  return count;
}

class ParamsScenarioTest : public ::testing::Test {
 protected:
  ParamsScenarioTest() {
    WriteFile(harness.link.settingsFile, SettingsWith({LibraryRecord("Golf", kScenarioGolf)}));
  }
  ParamsHarness harness;
};

TEST_F(ParamsScenarioTest, DefaultValuesAreNamedOnTheNextTickAndNothingIsSent) {
  StoreParameters(harness.link.image, kScenarioGolf);
  harness.CommandAt(5 * kTick + 20 * kMillisecond, kCommandDefaultValues);
  std::string before;
  harness.desktop.At(5 * kTick + 10 * kMillisecond, [&] { before = harness.NameField(); });
  harness.RunUntil(6 * kTick + 10 * kMillisecond);
  EXPECT_EQ(before, "Golf");
  EXPECT_EQ(harness.NameField(), "Default values");
  EXPECT_EQ(WriteRequests(harness), 0);
  EXPECT_EQ(harness.link.cycle.sendRequest, SendRequest::None);
}

TEST_F(ParamsScenarioTest, OpenedFileAnsweredOkIsWrittenToTheController) {
  WriteFile(harness.dir / "golf.car", WordBytes(kScenarioGolf) + "\x01\x02");
  harness.desktop.QueueFileAnswer((harness.dir / "golf.car").string(), 400 * kMillisecond);
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 400 * kMillisecond);
  harness.CommandAt(1 * kSecond, kCommandOpen);
  harness.RunUntil(8 * kSecond);

  for (std::uint8_t address = 80; address <= 92; ++address) {
    EXPECT_EQ(harness.controller.Register(address), kScenarioGolf[address - 80u])
        << "register " << int{address};
  }
  EXPECT_EQ(WriteRequests(harness), 13);
  EXPECT_EQ(harness.controller.Register(93), kDefaultParameters[13]) << "never sent";
}

TEST_F(ParamsScenarioTest, NameOfTheOpenedFileShowsWhileTheQuestionIsOpen) {
  WriteFile(harness.dir / "golf.car", WordBytes(kScenarioGolf));
  harness.desktop.QueueFileAnswer((harness.dir / "golf.car").string());
  harness.desktop.QueueMessageAnswer(MessageAnswer::Cancel, 1 * kSecond);
  harness.CommandAt(1 * kSecond, kCommandOpen);
  std::string duringQuestion;
  harness.desktop.At(1 * kSecond + 500 * kMillisecond,
                     [&] { duringQuestion = harness.NameField(); });
  harness.RunUntil(3 * kSecond);
  EXPECT_EQ(duringQuestion, "Golf");
  EXPECT_EQ(WriteRequests(harness), 0);
}

TEST_F(ParamsScenarioTest, SavedFileHoldsTheValuesReadFromTheController) {
  ApplyDefaults(harness.link.image);
  ImageValue(harness.link.image, 95) = 0x4142;
  harness.desktop.QueueFileAnswer((harness.dir / "saved.car").string());
  harness.CommandAt(1 * kSecond, kCommandSave);
  harness.RunUntil(2 * kSecond);
  const ParameterFileBytes expected = EncodeParameterFile(harness.link.image);
  EXPECT_EQ(testing::ReadFile(harness.dir / "saved.car"),
            std::string(expected.begin(), expected.end()));
}

TEST_F(ParamsScenarioTest, DialogOkWritesThroughTheTicksWhileTheDialogStaysOpen) {
  harness.CommandAt(500 * kMillisecond, kCommandDefaultValues);
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.CommandAt(1 * kSecond, kCommandEdit);
  harness.desktop.At(1 * kSecond + 100 * kMillisecond, [this] {
    const WindowRef dialog = harness.desktop.Newest(kParametersTemplateId)->window;
    harness.desktop.SetText(dialog, 2030, "750");
    harness.desktop.Press(kParametersTemplateId, kParametersOkButton);
  });
  harness.desktop.At(6 * kSecond, [this] { harness.desktop.RequestClose(kParametersTemplateId); });
  harness.RunUntil(7 * kSecond);

  EXPECT_EQ(harness.controller.Register(83), 750) << "Delay";
  EXPECT_EQ(harness.controller.Register(80), 40);
  EXPECT_EQ(WriteRequests(harness), 13);
  const auto* transfer = harness.desktop.Newest(3000);
  ASSERT_NE(transfer, nullptr);
  EXPECT_LT(*transfer->closedAt, *harness.desktop.Newest(kParametersTemplateId)->closedAt)
      << "the write ran inside the open Parameters dialog";
}

}  // namespace
}  // namespace zav
