#pragma once
// The whole program on the Qt host (offscreen) against a peer on a pseudo-terminal, in real
// time. A step timer plays the fitter: each step waits until the window shows what it
// expects, then acts (a menu command, a click); a modal driver answers the boxes and file
// dialogs the program opens, in the order given. Every wait has a generous bound and
// nothing is timed.

#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosts/qt/qt_desktop.h"
#include "hosts/qt_core/qt_serial_device.h"
#include "tests/qt/modal_driver.h"
#include "tests/support/temp_dir.h"
#include "ui/program.h"

class QWidget;

namespace zav::test {

// A whole firmware image as the uploads send it (bytes).
inline constexpr std::size_t kImageBytes = 30720;

// The serial device, keeping the letter of every request frame the program writes.
class NotingDevice : public SerialDevice {
 public:
  bool Open(std::string_view portName) override {
    ++opens_;
    return device_.Open(portName);
  }
  void Close() override { device_.Close(); }
  bool IsOpen() const override { return device_.IsOpen(); }
  std::optional<std::uint8_t> ReadByte() override { return device_.ReadByte(); }
  void Write(std::span<const std::uint8_t> bytes) override;
  DeviceFault Fault() const override { return device_.Fault(); }
  std::string FaultText() const override { return device_.FaultText(); }
  std::string DevicePath() const override { return device_.DevicePath(); }
  std::string StablePath() const override { return device_.StablePath(); }
  bool Reopen() override { return device_.Reopen(); }

  int Count(char letter) const;
  // Called with the letter of each request frame just before it is written.
  std::function<void(char letter)> beforeFrame;
  int Opens() const { return opens_; }

 private:
  QtSerialDevice device_;
  std::vector<char> letters_;
  int opens_ = 0;
};

struct Step {
  std::string what;
  std::function<bool()> ready;
  std::function<void()> action;
};

// One answer to a modal box: gets the active modal widget, returns true once it answered.
using Answer = std::function<bool(QWidget& modal)>;

// OK in a message box; its text and caption are kept when asked for.
Answer ClickOk(std::string* text = nullptr, std::string* caption = nullptr);
// The button of a message box that carries `label`; the box's text is kept when asked for.
Answer ClickButton(const std::string& label, std::string* text = nullptr);
// A file typed into a file dialog, then accepted.
Answer ChooseFile(const std::filesystem::path& path);

class ProgramRunTest : public ::testing::Test {
 protected:
  // The program, with "COM1" at `portPath` and `library` after the port name in its
  // settings file.
  void SetUpProgram(const std::string& portPath, const std::string& library = {});

  // Runs the program until every step is done or `giveUp` has passed, then closes it.
  void Run(std::vector<Step> steps, std::chrono::milliseconds giveUp);

  // An action that answers the coming boxes in order, then picks a menu command.
  std::function<void()> Command(const QString& menuText, std::vector<Answer> answers = {});

  std::string Text(int controlId);
  // The status line's segments, whole (not as cut to fit), joined as the program joins them.
  std::string StatusLineText();
  // The state field shows "Petrol": the controller answers and is ready for requests.
  bool OnPetrol();
  // The main window takes clicks: no box or transfer dialog is open above it.
  bool MainWindowIdle() const;
  bool Answered() const { return answered_ == answers_.size(); }

  testing::TempDir dir_;
  QtDesktop desktop_;
  NotingDevice device_;
  Program program_;
  int exitCode_ = -1;

 private:
  void CloseMainWindow();

  std::vector<Answer> answers_;
  std::size_t answered_ = 0;
  std::unique_ptr<ModalDriver> driver_;
};

}  // namespace zav::test
