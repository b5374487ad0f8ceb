// The checks around an upgrade by the whole program on the Qt host (offscreen) against
// zavsim, in real time: the switch to petrol asked for and waited for before the upload,
// the cut of a long file, and the warning after a stopped upload.

#include <QAbstractButton>
#include <QApplication>
#include <string>

#include "tests/e2e/program_run.h"
#include "tests/e2e/random_bytes.h"
#include "tests/qt/zavsim_child.h"
#include "ui/main_window.h"
#include "upgrade/upgrade_checks.h"
#include "upgrade/upload_report.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kUpgradeGiveUp =
    300s;  // a cold engine takes about 25 s to reach gas, an upload 35 s
constexpr int kStateField = 1027;
constexpr int kUploadCancelButton = 3002;

class UpgradeChecksEndToEndTest : public ProgramRunTest {
 protected:
  void SetUp() override {
    simulator_ = std::make_unique<ZavsimChild>(
        ZAVSIM_PATH, std::vector<std::string>{"--firmware-out", received_.string()});
    const std::optional<std::string> pty = simulator_->TerminalPath(20s);
    ASSERT_TRUE(pty) << "zavsim did not start";
    SetUpProgram(*pty);
  }
  std::filesystem::path WriteImage(const std::string& bytes) {
    const std::filesystem::path path = dir_ / "firmware.zav";
    testing::WriteFile(path, bytes);
    return path;
  }
  bool ReceivedWhole() {
    std::error_code error;
    return std::filesystem::file_size(received_, error) == kImageBytes && !error;
  }
  bool Done() { return Answered() && MainWindowIdle(); }
  void ClickSwitch() {
    qobject_cast<QAbstractButton*>(desktop_.ControlOf(program_.link.mainWindow, kSwitchButton))
        ->click();
  }

  const std::filesystem::path received_ = dir_ / "received.zav";
  std::unique_ptr<ZavsimChild> simulator_;
};

TEST_F(UpgradeChecksEndToEndTest, OnGasTheSwitchToPetrolComesFirstThenTheWholeImage) {
  const std::string file = RandomBytes(kImageBytes, 11);
  const std::filesystem::path image = WriteImage(file);
  std::string question;
  std::string stateAtUpgradeFrame;
  device_.beforeFrame = [&](char letter) {
    if (letter == 'U') {
      stateAtUpgradeFrame = Text(kStateField);
    }
  };
  Run({{"Petrol", [&] { return OnPetrol(); }, [&] { ClickSwitch(); }},
       {"Gas", [&] { return Text(kStateField) == "Gas"; },
        Command("Upgrade", {ChooseFile(image), ClickButton(kSwitchAndUpgradeLabel, &question)})},
       {"the image at zavsim", [&] { return Done() && ReceivedWhole(); }, [] {}}},
      kUpgradeGiveUp);

  EXPECT_EQ(exitCode_, 0);
  EXPECT_EQ(question, "The controller runs on gas. Switch to petrol before the upgrade?");
  EXPECT_EQ(device_.Count('B'), 2) << "the button's switch, then the one before the upgrade";
  EXPECT_EQ(device_.Count('U'), 1);
  EXPECT_EQ(stateAtUpgradeFrame, "Petrol") << "zavsim reported Petrol before the upgrade frame";
  EXPECT_TRUE(testing::ReadFile(received_) == file);
}

TEST_F(UpgradeChecksEndToEndTest, LongFileSendsItsFirst30720Bytes) {
  const std::string file = RandomBytes(40000, 12);
  const std::filesystem::path image = WriteImage(file);
  std::string question;
  Run({{"Petrol", [&] { return OnPetrol(); },
        Command("Upgrade", {ChooseFile(image), ClickButton(kGoOnLabel, &question)})},
       {"the image at zavsim", [&] { return Done() && ReceivedWhole(); }, [] {}}},
      kUpgradeGiveUp);

  EXPECT_EQ(question, "Only the first 30,720 of 40,000 bytes will be sent. Go on?");
  EXPECT_TRUE(testing::ReadFile(received_) == file.substr(0, kImageBytes));
}

TEST_F(UpgradeChecksEndToEndTest, CancelAroundBlock50WarnsAndZavsimHasNoWholeImage) {
  const std::filesystem::path image = WriteImage(RandomBytes(kImageBytes, 13));
  std::string warning;
  int stoppedAt = 0;
  Run({{"Petrol", [&] { return OnPetrol(); },
        Command("Upgrade", {ChooseFile(image), ClickButton("Stop"), ClickOk(&warning)})},
       {"block 50", [&] { return program_.upload.blockCounter >= 50; },
        [&] {
          stoppedAt = program_.upload.blockCounter;
          auto* cancel = QApplication::activeModalWidget()->findChild<QAbstractButton*>(
              QString::number(kUploadCancelButton));
          if (cancel == nullptr) {
            for (QAbstractButton* button :
                 QApplication::activeModalWidget()->findChildren<QAbstractButton*>()) {
              if (button->text() == "Cancel") {
                cancel = button;
              }
            }
          }
          ASSERT_NE(cancel, nullptr);
          cancel->click();
        }},
       {"the warning read", [&] { return Done(); }, [] {}},
       {"polling again", [&] { return OnPetrol(); }, [] {}}},
      kUpgradeGiveUp);

  EXPECT_GE(stoppedAt, 50);
  EXPECT_LT(stoppedAt, 60);
  EXPECT_EQ(warning, UploadStoppedWarning(program_.upload));
  EXPECT_NE(
      warning.find("stopped at block " + std::to_string(program_.upload.blockCounter) + " of 240"),
      std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(received_)) << "zavsim kept no whole image";
}

}  // namespace
}  // namespace zav::test
