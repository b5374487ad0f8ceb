// The whole program on the Qt host (offscreen) against zavsim on a pseudo-terminal, in real
// time: live values and a switch, the parameters' way through the controller, a file and
// the defaults, and the error and version reports.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <array>
#include <cstdint>
#include <string>

#include "params/config_name.h"
#include "tests/e2e/program_run.h"
#include "tests/qt/zavsim_child.h"
#include "ui/main_window.h"
#include "ui/reports.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kScenarioGiveUp = 120s;  // far beyond what each scenario needs
constexpr int kTemperatureEdit = 1085;
constexpr int kNumeratorEdit = 1094;
constexpr int kMinGasTimeEdit = 1096;
constexpr int kWritesPerSet = 13;  // registers 80 to 92

// Registers 80 to 94 of a configuration that differs from the defaults in every editable
// register.
constexpr std::array<std::uint16_t, 15> kVan{45,   520,   680, 400,  220, 450, 3000, 650,
                                             3900, 47500, 6,   1900, 1,   0,   0};
constexpr std::uint16_t kHardwareWord = 0x3130;  // register 95 as zavsim has it
constexpr const char* kVanName = "Van 2.0 sequential";

std::string Word(std::uint16_t value) {
  return {static_cast<char>(value & 0xFFU), static_cast<char>(value >> 8)};
}

std::string CarBytes() {
  std::string bytes;
  for (std::uint16_t value : kVan) {
    bytes += Word(value);
  }
  return bytes + Word(kHardwareWord);
}

// A library of one record: a 64-byte name, the fifteen words, two unused bytes.
std::string VanLibrary() {
  std::string record = kVanName;
  record.resize(64, '\0');
  return record + CarBytes().substr(0, 30) + std::string(2, '\0');
}

class ZavmonEndToEndTest : public ProgramRunTest {
 protected:
  void StartAgainst(std::vector<std::string> simulatorOptions, const std::string& library = {}) {
    simulator_ = std::make_unique<ZavsimChild>(ZAVSIM_PATH, std::move(simulatorOptions));
    const std::optional<std::string> pty = simulator_->TerminalPath(20s);
    ASSERT_TRUE(pty) << "zavsim did not start";
    SetUpProgram(*pty, library);
  }

  bool Done() { return Answered() && MainWindowIdle(); }
  std::string Name() { return Text(kConfigNameField); }
  bool ShowsVan() {
    return Text(kTemperatureEdit) == "45" && Text(kNumeratorEdit) == "47500" && Name() == kVanName;
  }
  bool ShowsDefaults() { return Text(kTemperatureEdit) == "40" && Name() == "Default values"; }
  bool WritesDone(int sets) { return Done() && device_.Count('S') >= sets * kWritesPerSet; }

  std::unique_ptr<ZavsimChild> simulator_;
};

TEST_F(ZavmonEndToEndTest, LiveValuesReadFromZavAndSwitchAgainstTheSimulator) {
  StartAgainst({});
  std::string rpmSeen;
  Run({{"live values and the Petrol state",
        [&] {
          rpmSeen = Text(1024);
          return OnPetrol() && !rpmSeen.empty() && rpmSeen != "0" && Text(1012) != "0.00";
        },
        Command("Read from ZAV", {ClickOk()})},
       {"the controller's parameters in the edits",
        [&] {
          return Done() && Text(kTemperatureEdit) == "40" && Text(kNumeratorEdit) == "48160" &&
                 Text(kMinGasTimeEdit) == "2000";
        },
        [&] {
          qobject_cast<QAbstractButton*>(
              desktop_.ControlOf(program_.link.mainWindow, kSwitchButton))
              ->click();
        }},
       {"the change to gas under way", [&] { return !OnPetrol(); }, [] {}}},
      kScenarioGiveUp);

  EXPECT_EQ(exitCode_, 0);
  EXPECT_EQ(device_.Count('B'), 1);
  EXPECT_GT(device_.Count('Q'), 23);
  EXPECT_FALSE(device_.IsOpen()) << "closing the window closes the port";
}

// A stored file brings its values back into the controller after "Default values" were
// written there; every step is checked by reading the controller back.
TEST_F(ZavmonEndToEndTest, SavedFileOpenedAfterDefaultsWritesItsValuesBackToTheController) {
  StartAgainst({}, VanLibrary());
  testing::WriteFile(dir_ / "van.car", CarBytes());
  const std::filesystem::path saved = dir_ / "saved.car";
  Run({{"Petrol", [&] { return OnPetrol(); },
        Command("Open", {ChooseFile(dir_ / "van.car"), ClickOk()})},
       {"the van's values written", [&] { return WritesDone(1) && Name() == kVanName; },
        Command("Default values")},
       {"the defaults shown", [&] { return ShowsDefaults(); },
        Command("Read from ZAV", {ClickOk()})},
       {"the van's values read back", [&] { return Done() && ShowsVan(); },
        Command("Save", {ChooseFile(saved)})},
       {"the file saved", [&] { return Done() && std::filesystem::exists(saved); },
        Command("Default values")},
       {"the defaults shown again", [&] { return ShowsDefaults(); },
        Command("Set ZAV", {ClickOk()})},
       {"the defaults written", [&] { return WritesDone(2); },
        Command("Open", {ChooseFile(saved), ClickOk()})},
       {"the saved values written", [&] { return WritesDone(3) && ShowsVan(); },
        Command("Default values")},
       {"the defaults shown once more", [&] { return ShowsDefaults(); },
        Command("Read from ZAV", {ClickOk()})},
       {"the saved values read back", [&] { return Done() && ShowsVan(); }, [] {}}},
      kScenarioGiveUp);

  EXPECT_EQ(exitCode_, 0);
  EXPECT_EQ(testing::ReadFile(saved), CarBytes());
}

TEST_F(ZavmonEndToEndTest, ErrorReportListsTheSimulatorsFlagsAndClearsThemThenVersionsShow) {
  StartAgainst({"--errors", "8101"});
  std::string firstReport, firstCaption, secondReport, versions, versionCaption;
  Run({{"Petrol", [&] { return OnPetrol(); },
        Command("Show errors", {ClickOk(&firstReport, &firstCaption)})},
       {"the flags cleared", [&] { return Done() && device_.Count('C') == 1; },
        Command("Show errors", {ClickOk(&secondReport)})},
       {"the second report and its clear frame", [&] { return Done() && device_.Count('C') == 2; },
        Command("ZAV version", {ClickOk(&versions, &versionCaption)})},
       {"the versions", [&] { return Done(); }, [] {}}},
      kScenarioGiveUp);

  EXPECT_EQ(firstReport, ErrorReportText(0x8101));
  EXPECT_EQ(firstCaption, kErrorsCaption);
  EXPECT_EQ(secondReport, "No errors");
  EXPECT_EQ(versions, "HW ver: 1.0.2.3\nFW ver: 04.12\nS/N: 060291-197719");
  EXPECT_EQ(versionCaption, kInfoCaption);
  EXPECT_EQ(device_.Count('C'), 2) << "each completed report sends the clear frame once";
  EXPECT_EQ(device_.Count('B'), 0);
}

// Version characters above 0x7F, as a controller may hold them, shown one character a byte.
TEST_F(ZavmonEndToEndTest, VersionCharactersAbove0x7FShowAsTheirLatin1Characters) {
  StartAgainst({"--version-bytes", "31C9322EB0FF41E9"});
  std::string versions;
  Run({{"Petrol", [&] { return OnPetrol(); }, Command("ZAV version", {ClickOk(&versions)})},
       {"the versions", [&] { return Done(); }, [] {}}},
      kScenarioGiveUp);

  EXPECT_EQ(versions,
            "HW ver: 1.\xC3\x89.2..\nFW ver: \xC2\xB0\xC3\xBF.A\xC3\xA9\nS/N: 060291-197719")
      << "1.\u00C9.2.. and \u00B0\u00FF.A\u00E9 in UTF-8";
  EXPECT_EQ(exitCode_, 0);
}

}  // namespace
}  // namespace zav::test
