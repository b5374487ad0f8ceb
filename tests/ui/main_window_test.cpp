// The main window on the headless host: start-up, captions, port list, commands, close.

#include <gtest/gtest.h>

#include "params/send_question.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "resources/parameters_template.h"
#include "tests/support/program_harness.h"
#include "texts/captions.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::ProgramHarness;

constexpr int kMain = kMainTemplateId;

// Every request frame the program sent, as (letter, address).
std::vector<std::pair<char, int>> FramesSent(const ProgramHarness& harness) {
  std::vector<std::pair<char, int>> frames;
  const auto& bytes = harness.line.SentByProgram();
  for (std::size_t i = 0; i + 7 <= bytes.size(); i += 7) {
    frames.emplace_back(static_cast<char>(bytes[i + 1].byte), bytes[i + 2].byte);
  }
  return frames;
}

TEST(MainWindowTest, EveryCaptionIsAssignedFromTheLists) {
  ProgramHarness harness;
  harness.RunUntil(10 * kMillisecond);
  EXPECT_EQ(harness.MainText(1029), "BA_1");
  EXPECT_EQ(harness.MainText(1037), "GAS_4");
  EXPECT_EQ(harness.MainText(1046), "ms");
  EXPECT_EQ(harness.MainText(1061), "COM port");
  EXPECT_EQ(harness.MainText(1064), "Pressure");
  EXPECT_EQ(harness.MainText(1065), "") << "the group without caption";
  EXPECT_EQ(harness.MainText(1067), "switch");
  EXPECT_EQ(harness.MainText(1068), "Name of config");
  EXPECT_EQ(harness.MainText(1069), "Petrol time");
  EXPECT_EQ(harness.MainText(1071), "Coeficient");
  EXPECT_EQ(harness.MainText(1076), "Min. delta p ");
  EXPECT_EQ(harness.MainText(1081), "Temperature");
  EXPECT_EQ(harness.MainText(1083), "Back on petrol switch parameters");
  EXPECT_EQ(harness.MainText(1084), "Formula parameters");
  EXPECT_EQ(harness.MainText(1098), "°C");
  EXPECT_EQ(harness.MainText(1105), "us");
}

TEST(MainWindowTest, CaptionListsHoldExactlyOneCaptionPerControl) {
  const auto count = [](std::string_view list) {
    return std::count(list.begin(), list.end(), '*');
  };
  EXPECT_EQ(count(kMainCaptions), 1068 - 1029 + 1);
  EXPECT_EQ(count(kParameterCaptions), 1084 - 1069 + 1);
}

TEST(MainWindowTest, PortListOffersNinePortsAndPreselectsTheStoredOne) {
  ProgramHarness harness("COM4");
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.RunUntil(10 * kMillisecond);
  const auto& list = harness.Main(1001);
  ASSERT_EQ(list.entries.size(), 9u);
  EXPECT_EQ(list.entries.front(), "COM1");
  EXPECT_EQ(list.entries.back(), "COM9");
  EXPECT_EQ(list.selection, 3);
  EXPECT_EQ(harness.desktop.Messages().size(), 1u) << "COM4 does not exist here";
}

class UnselectablePortTest : public ::testing::TestWithParam<std::optional<std::string>> {};

TEST_P(UnselectablePortTest, StartsWithTheMessageAndNoSelectionAndTicksRun) {
  ProgramHarness harness(GetParam());
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.RunUntil(kSecond);
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  EXPECT_EQ(harness.desktop.Messages()[0].text, "Error opening serial port - check setting");
  EXPECT_EQ(harness.desktop.Messages()[0].caption, "Error");
  EXPECT_EQ(harness.desktop.Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(harness.Main(1001).selection, -1);
  EXPECT_EQ(harness.MainText(1085), "0") << "ticks run and fill the parameter edits";
  EXPECT_EQ(harness.Main(1002).buttons.size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(MissingOrOdd, UnselectablePortTest,
                         ::testing::Values(std::nullopt, std::optional<std::string>("COM0"),
                                           std::optional<std::string>("COMA")));

TEST(MainWindowTest, ToolbarButtonsCarryTheMenuCommandsInOrder) {
  ProgramHarness harness;
  harness.RunUntil(10 * kMillisecond);
  const auto& buttons = harness.Main(1002).buttons;
  ASSERT_EQ(buttons.size(), 5u);
  const int expected[] = {10003, 10004, 10005, 10006, 10010};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i].image, static_cast<int>(i));
    EXPECT_EQ(buttons[i].commandId, expected[i]);
  }
}

TEST(MainWindowTest, MenuListsItsItemsWithTheirCommands) {
  const auto menus = MenuBar(MainTemplate().menuId);
  ASSERT_EQ(menus.size(), 3u);
  EXPECT_EQ(menus[1].title, "ZAV");
  ASSERT_EQ(menus[1].items.size(), 5u);
  EXPECT_EQ(menus[1].items[3].text, "Default values");
  EXPECT_EQ(menus[1].items[3].commandId, 10012);
  EXPECT_EQ(menus[2].items[0].commandId, 10013);
}

TEST(MainWindowTest, EnterAndEscapeLeaveTheWindowOpen) {
  ProgramHarness harness;
  harness.desktop.At(300 * kMillisecond, [&] {
    harness.desktop.Press(kMain, kCommandEnter);
    harness.desktop.Press(kMain, kCommandEscape);
  });
  EXPECT_EQ(harness.RunUntil(kSecond), 0);
  EXPECT_EQ(*harness.desktop.Newest(kMain)->closedAt, kSecond);
}

TEST(MainWindowTest, CloseEndsWithZeroClosesThePortAndStopsTicking) {
  ProgramHarness harness;
  EXPECT_EQ(harness.RunUntil(kSecond), 0);
  EXPECT_FALSE(harness.device.IsOpen());
  EXPECT_TRUE(harness.ports.held.empty());
  EXPECT_TRUE(harness.desktop.Newest(kMain)->timers.empty());
  EXPECT_TRUE(harness.desktop.Messages().empty());
}

TEST(MainWindowTest, PickingAPortStoresItAndReopens) {
  ProgramHarness harness("COM1" + std::string(100, 'x'));
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
  harness.desktop.At(300 * kMillisecond, [&] {
    harness.desktop.SelectListEntry(harness.program.link.mainWindow, 1001, 2);
    harness.desktop.Press(kMain, 1001, kSelectionChange);
  });
  harness.RunUntil(kSecond);
  EXPECT_EQ(testing::ReadFile(harness.dir / "zavmon.cfg"), "COM3" + std::string(100, 'x'));
  EXPECT_EQ(harness.device.OpenAttempts().back(), "COM3");
  EXPECT_EQ(harness.desktop.Messages().size(), 1u) << "COM3 does not exist";
  EXPECT_FALSE(harness.device.IsOpen());
}

TEST(MainWindowTest, PortListNotificationsOtherThanSelectionChangeDoNothing) {
  ProgramHarness harness;
  harness.desktop.At(300 * kMillisecond, [&] { harness.desktop.Press(kMain, 1001, 3); });
  harness.RunUntil(kSecond);
  EXPECT_EQ(harness.device.OpenAttempts().size(), 1u);
}

TEST(MainWindowTest, SwitchButtonSendsTheSwitchFrameOnce) {
  ProgramHarness harness;
  harness.desktop.At(320 * kMillisecond, [&] { harness.desktop.Press(kMain, 1067); });
  harness.RunUntil(kSecond);
  const auto frames = FramesSent(harness);
  EXPECT_EQ(std::count(frames.begin(), frames.end(), std::pair<char, int>{'B', 0}), 1);
}

TEST(MainWindowTest, ReadFromZavAnsweredOkFillsTheParameterEdits) {
  ProgramHarness harness;
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok, 500 * kMillisecond);
  harness.desktop.At(300 * kMillisecond, [&] { harness.desktop.Press(kMain, 10005); });
  harness.RunUntil(8 * kSecond);
  ASSERT_EQ(harness.desktop.Messages().size(), 1u);
  EXPECT_EQ(harness.desktop.Messages()[0].text, "Read from ZAV?");
  EXPECT_EQ(harness.desktop.Messages()[0].caption, "question");
  EXPECT_EQ(harness.desktop.Messages()[0].icon, MessageIcon::Information);
  EXPECT_EQ(harness.desktop.Newest(3000)->result, 1);
  for (int i = 0; i <= 12; ++i) {
    EXPECT_EQ(harness.MainText(1085 + i),
              std::to_string(harness.controller.Register(static_cast<std::uint8_t>(80 + i))));
  }
}

TEST(MainWindowTest, ReadFromZavCancelledSendsNoRequest) {
  ProgramHarness harness;
  harness.desktop.QueueMessageAnswer(MessageAnswer::Cancel);
  harness.desktop.At(300 * kMillisecond, [&] { harness.desktop.Press(kMain, 10005); });
  harness.RunUntil(2 * kSecond);
  for (const auto& [letter, address] : FramesSent(harness)) {
    EXPECT_EQ(address, 32) << "only live polls";
  }
  EXPECT_EQ(harness.desktop.Newest(3000), nullptr);
}

TEST(MainWindowTest, SetZavAnsweredOkWritesTheParameters) {
  ProgramHarness harness;
  for (int i = 0; i <= 12; ++i) {
    ImageValue(harness.program.link.image, static_cast<std::uint8_t>(80 + i)) =
        static_cast<std::uint16_t>(7 * i + 1);
  }
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Send data to ZAV ?"
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // never read: write anyway
  harness.desktop.At(300 * kMillisecond, [&] { harness.desktop.Press(kMain, 10006); });
  harness.RunUntil(6 * kSecond);
  for (int i = 0; i <= 12; ++i) {
    EXPECT_EQ(harness.controller.Register(static_cast<std::uint8_t>(80 + i)), 7 * i + 1);
  }
}

// A .car file opened from the file manager starts the program with its name: once the window
// is up, the file is loaded as "Open" loads it, and the same question sends it on OK.
TEST(MainWindowTest, AFileGivenAtStartIsOpenedOnceTheWindowIsUpAndSentOnOk) {
  ProgramHarness harness;
  std::string file;
  for (int i = 0; i < 15; ++i) {  // registers 80 to 94, little-endian words
    const int value = 11 * i + 3;
    file += static_cast<char>(value & 0xFF);
    file += static_cast<char>(value >> 8);
  }
  testing::WriteFile(harness.dir / "golf.car", file);
  harness.program.fileToOpen = harness.dir / "golf.car";
  harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Send data to ZAV ?"
  harness.RunUntil(6 * kSecond);
  ASSERT_FALSE(harness.desktop.Messages().empty());
  EXPECT_EQ(harness.desktop.Messages()[0].text, kSendDataQuestion);
  EXPECT_EQ(harness.desktop.Messages().size(), 1u) << "the file is opened once";
  for (int i = 0; i <= 12; ++i) {
    EXPECT_EQ(harness.controller.Register(static_cast<std::uint8_t>(80 + i)), 11 * i + 3);
  }
  EXPECT_TRUE(harness.program.fileToOpen.empty());
}

// The fitter never read the controller, opens the Parameters dialog, changes one field and
// confirms "Send data to ZAV ?": the image still holds the zeros of the start. Before any
// of them can be written the program asks, Cancel first; Cancel writes nothing. Once a read
// gave the image its values, the same steps ask no second question and write.
TEST(MainWindowTest, AWriteOfParametersNeverReadAsksFirstAndCancelKeepsTheController) {
  ProgramHarness harness;
  const std::uint16_t delayBefore = harness.controller.Register(83);
  const auto changeDelayAndSend = [&] { harness.desktop.Press(kMain, kCommandEdit); };
  harness.desktop.At(300 * kMillisecond, changeDelayAndSend);
  harness.desktop.At(400 * kMillisecond, [&] {
    harness.desktop.SetText(harness.desktop.Newest(kParametersTemplateId)->window, 2030, "777");
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);      // "Send data to ZAV ?"
    harness.desktop.QueueMessageAnswer(MessageAnswer::Cancel);  // never read: Cancel
    harness.desktop.Press(kParametersTemplateId, kParametersOkButton);
  });
  harness.desktop.At(2 * kSecond, [&] { harness.desktop.RequestClose(kParametersTemplateId); });
  harness.desktop.At(6 * kSecond, [&] {
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Read from ZAV?"
    harness.desktop.Press(kMain, kCommandReadFromZav);
  });
  harness.desktop.At(14 * kSecond, changeDelayAndSend);
  harness.desktop.At(14 * kSecond + 100 * kMillisecond, [&] {
    harness.desktop.SetText(harness.desktop.Newest(kParametersTemplateId)->window, 2030, "777");
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Send data to ZAV ?"
    harness.desktop.Press(kParametersTemplateId, kParametersOkButton);
  });
  harness.desktop.At(22 * kSecond, [&] { harness.desktop.RequestClose(kParametersTemplateId); });

  std::vector<std::string> firstTexts;
  harness.desktop.At(5 * kSecond, [&] {
    for (const auto& message : harness.desktop.Messages()) {
      firstTexts.push_back(message.text);
    }
    EXPECT_EQ(harness.controller.Register(83), delayBefore);
    EXPECT_EQ(harness.controller.Register(80), 40) << "no zero written";
  });
  harness.RunUntil(25 * kSecond);

  ASSERT_EQ(firstTexts.size(), 2u);
  EXPECT_EQ(firstTexts[0], "Send data to ZAV ?");
  EXPECT_EQ(firstTexts[1], kNeverReadQuestion);
  EXPECT_EQ(harness.desktop.Messages()[1].goOnLabel, "Write anyway");
  // After the read: "Read from ZAV?" and "Send data to ZAV ?" only, and the write took.
  ASSERT_EQ(harness.desktop.Messages().size(), 4u);
  EXPECT_EQ(harness.desktop.Messages()[3].text, "Send data to ZAV ?");
  EXPECT_EQ(harness.controller.Register(83), 777);
  EXPECT_EQ(harness.controller.Register(80), 40);
  EXPECT_TRUE(HasControllerSet(harness.program.parameters.confirmedSet));
  EXPECT_EQ(harness.program.parameters.confirmedSet.words[83 - 80], 777);
}

}  // namespace
}  // namespace zav
