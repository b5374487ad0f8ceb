// The port list of the real main window on the Qt host: no entry selected while no port is
// set, and choosing the entry already shown opens the port again.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <cstdlib>

#include "tests/e2e/program_run.h"
#include "tests/qt/pseudo_terminal.h"
#include "ui/main_window.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPortListGiveUp = 60s;

class PortListOnQtTest : public ProgramRunTest,
                         public ::testing::WithParamInterface<std::optional<std::string>> {
 protected:
  QComboBox* PortList() {
    return qobject_cast<QComboBox*>(desktop_.ControlOf(program_.link.mainWindow, kPortList));
  }
};

TEST_P(PortListOnQtTest, ShowsNoSelectionWithoutAPort) {
  SetUpProgram("/dev/null");
  std::filesystem::remove(dir_ / "zavmon.cfg");
  if (GetParam()) {
    testing::WriteFile(dir_ / "zavmon.cfg", *GetParam());
  }
  std::string boxText;
  ModalDriver startBox(ClickOk(&boxText));
  int selection = 0;
  int entries = 0;
  Run({{"the window up after the start-up box",
        [&] { return startBox.Done() && MainWindowIdle() && PortList() != nullptr; },
        [&] {
          selection = PortList()->currentIndex();
          entries = PortList()->count();
        }}},
      kPortListGiveUp);
  EXPECT_EQ(boxText, "Error opening serial port - check setting");
  EXPECT_EQ(entries, 9);
  EXPECT_EQ(selection, -1);
}

INSTANTIATE_TEST_SUITE_P(NoPort, PortListOnQtTest,
                         ::testing::Values(std::nullopt, std::string("CO"), std::string("COM0")));

TEST_F(ProgramRunTest, ChoosingTheShownPortAgainReopensIt) {
  PseudoTerminal line;
  ASSERT_TRUE(line.IsValid());
  SetUpProgram(line.SlavePath());
  int opensBefore = 0;
  Run({{"the port open",
        [&] { return MainWindowIdle() && program_.link.connection.state == LinkState::Waiting; },
        [&] {
          opensBefore = device_.Opens();
          auto* list =
              qobject_cast<QComboBox*>(desktop_.ControlOf(program_.link.mainWindow, kPortList));
          ASSERT_EQ(list->currentIndex(), 0);
          Q_EMIT list->activated(0);  // what a click on the entry shown does
        }}},
      kPortListGiveUp);
  EXPECT_EQ(device_.Opens(), opensBefore + 1);
  EXPECT_EQ(program_.link.connection.state, LinkState::Waiting);
}

}  // namespace
}  // namespace zav::test
