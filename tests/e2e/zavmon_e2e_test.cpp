// The whole program on the Qt host (offscreen) against zavsim on a pseudo-terminal, in real
// time: live values reach the window, "Read from ZAV" fills the parameter edits with the
// controller's values, and "switch" sends one switch frame. A step timer plays the fitter;
// every wait has a generous bound, and nothing is timed.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_serial_device.h"
#include "tests/qt/modal_driver.h"
#include "tests/qt/zavsim_child.h"
#include "tests/support/temp_dir.h"
#include "ui/program.h"

namespace zav {
namespace {

constexpr int kStepMs = 100;
constexpr int kGiveUpMs = 90000;  // far beyond the ~15 s the scenario needs

// The serial device, keeping every request frame the program writes.
class NotingDevice : public SerialDevice {
 public:
  bool Open(std::string_view portName) override { return device_.Open(portName); }
  void Close() override { device_.Close(); }
  bool IsOpen() const override { return device_.IsOpen(); }
  std::optional<std::uint8_t> ReadByte() override { return device_.ReadByte(); }
  void Write(std::span<const std::uint8_t> bytes) override {
    if (bytes.size() == 7) {
      letters.push_back(static_cast<char>(bytes[1]));
    }
    device_.Write(bytes);
  }

  std::vector<char> letters;

 private:
  QtSerialDevice device_;
};

// Waits for conditions one after another, each then running its action.
struct Step {
  std::string what;
  std::function<bool()> ready;
  std::function<void()> action;
};

class ZavmonEndToEndTest : public ::testing::Test {
 protected:
  ZavmonEndToEndTest() : simulator_(ZAVSIM_PATH) {}

  std::string Text(int controlId) { return desktop_.GetText(program_.link.mainWindow, controlId); }

  QAction* MenuAction(const QString& text) {
    QWidget* window = desktop_.WindowOf(program_.link.mainWindow);
    for (QAction* action : window->findChildren<QAction*>()) {
      if (action->text() == text) {
        return action;
      }
    }
    return nullptr;
  }

  // Runs the program until every step is done (or the time runs out), then closes it.
  void Run(std::vector<Step> steps) {
    std::size_t next = 0;
    QTimer stepper;
    QObject::connect(&stepper, &QTimer::timeout, [&] {
      if (next < steps.size() && steps[next].ready()) {
        // Later, from the event loop: an action may open a modal box of its own.
        QTimer::singleShot(0, steps[next].action);
        ++next;
      }
      if (next == steps.size()) {
        stepper.stop();
        QTimer::singleShot(kStepMs, [this] { CloseMainWindow(); });
      }
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
      ADD_FAILURE() << "gave up waiting for: " << steps[std::min(next, steps.size() - 1)].what;
      QApplication::closeAllWindows();
      CloseMainWindow();
    });
    stepper.start(kStepMs);
    giveUp.start(kGiveUpMs);
    exitCode_ = RunMainWindow(program_);
  }

  void CloseMainWindow() {
    if (QWidget* window = desktop_.WindowOf(program_.link.mainWindow)) {
      window->close();
    }
  }

  void SetUp() override {
    const std::optional<std::string> pty = simulator_.TerminalPath(std::chrono::seconds(20));
    ASSERT_TRUE(pty) << "zavsim did not start";
    setenv("ZAVMON_COM1", pty->c_str(), 1);
    testing::WriteFile(dir_ / "zavmon.cfg", "COM1");
    SetUpProgram(program_, desktop_, device_, dir_.Path());
  }

  test::ZavsimChild simulator_;
  testing::TempDir dir_;
  QtDesktop desktop_;
  NotingDevice device_;
  Program program_;
  int exitCode_ = -1;
};

bool ClickOk(QWidget& modal) {
  auto* box = qobject_cast<QMessageBox*>(&modal);
  if (box == nullptr || box->button(QMessageBox::Ok) == nullptr) {
    return false;
  }
  box->button(QMessageBox::Ok)->click();
  return true;
}

TEST_F(ZavmonEndToEndTest, LiveValuesReadFromZavAndSwitchAgainstTheSimulator) {
  std::unique_ptr<test::ModalDriver> answer;
  std::string rpmSeen;
  Run({
      {"live values and the Petrol state",
       [&] {
         rpmSeen = Text(1024);
         return Text(1027) == "Petrol" && !rpmSeen.empty() && rpmSeen != "0" &&
                Text(1012) != "0.00";
       },
       [&] {
         answer = std::make_unique<test::ModalDriver>(ClickOk);
         MenuAction("Read from ZAV")->trigger();
       }},
      {"the controller's parameters in the edits",
       [&] {
         // The read has ended and its dialog is gone: the window takes clicks again.
         return QApplication::activeModalWidget() == desktop_.WindowOf(program_.link.mainWindow) &&
                Text(1085) == "40" && Text(1094) == "48160" && Text(1096) == "2000";
       },
       [&] {
         auto* button =
             qobject_cast<QPushButton*>(desktop_.ControlOf(program_.link.mainWindow, 1067));
         button->click();
       }},
      {"the change to gas under way", [&] { return Text(1027) != "Petrol"; }, [] {}},
  });

  EXPECT_EQ(exitCode_, 0);
  EXPECT_TRUE(answer && answer->Done());
  EXPECT_EQ(std::count(device_.letters.begin(), device_.letters.end(), 'B'), 1);
  EXPECT_EQ(std::count(device_.letters.begin(), device_.letters.end(), 'Q') > 23, true);
  EXPECT_FALSE(device_.IsOpen()) << "closing the window closes the port";
}

}  // namespace
}  // namespace zav
