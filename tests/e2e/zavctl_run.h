#pragma once
// zavctl as a child process in a fresh working folder, against zavsim on a pseudo-terminal
// (or a line where no one answers), in real time. Every wait has a generous bound and
// nothing is timed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/link_state.h"
#include "link/wire.h"
#include "params/parameter_file.h"
#include "sim/controller.h"
#include "tests/qt/pseudo_terminal.h"
#include "tests/sim/zavsim_process.h"
#include "tests/support/temp_dir.h"

namespace zav::test {

struct ZavctlRun {
  int code = -1;  // the exit code; -1 when it did not end normally in time
  std::string out;
  std::string err;
};

class ZavctlTest : public ::testing::Test {
 protected:
  static constexpr auto kPatience = std::chrono::seconds(180);

  // zavctl with these arguments in the working folder, until it ends.
  ZavctlRun Zavctl(const std::vector<std::string>& arguments) const {
    sim::testing::ChildProcess zavctl(ZAVCTL_PATH, arguments, -1, dir_.Path().string());
    ZavctlRun run;
    const std::optional<int> status = zavctl.WaitForExit(kPatience);
    if (status && WIFEXITED(*status)) {
      run.code = WEXITSTATUS(*status);
    }
    run.out = zavctl.StandardOutput();
    run.err = zavctl.StandardError();
    return run;
  }

  // zavctl on `port` with these arguments after the global options.
  ZavctlRun OnPort(const std::string& port, std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"--port", port});
    return Zavctl(arguments);
  }

  // zavsim on a new pseudo-terminal with these options; its path.
  std::string StartZavsim(const std::vector<std::string>& options) {
    std::vector<std::string> arguments{"--pty"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    zavsim_ = std::make_unique<sim::testing::ChildProcess>(ZAVSIM_PATH, arguments);
    return zavsim_->ReadLine(std::chrono::seconds(10)).value_or("");
  }

  // Sends zavsim on `port` the switch frame, as the window's "switch" button does, and lets
  // its cold engine warm up until `zavctl status` reports "Gas"; false when it never does.
  bool SwitchZavsimToGas(const std::string& port) const {
    const int line = open(port.c_str(), O_RDWR | O_NOCTTY);
    if (line < 0) {
      return false;
    }
    termios settings{};
    tcgetattr(line, &settings);
    cfmakeraw(&settings);
    tcsetattr(line, TCSANOW, &settings);
    const RequestBytes frame = EncodeRequest(kLetterSwitch, 0, 0);
    const bool sent = write(line, frame.data(), frame.size()) == static_cast<ssize_t>(frame.size());
    close(line);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (sent && std::chrono::steady_clock::now() < giveUp) {
      if (OnPort(port, {"status"}).out.find("Status    Gas") != std::string::npos) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    return false;
  }

  // What a .car file saved from the simulator's factory registers holds.
  static std::string FactoryCarFile() {
    const sim::Controller controller;
    RegisterImage image;
    for (unsigned address = kFirstImageRegister; address <= kLastImageRegister; ++address) {
      ImageValue(image, static_cast<std::uint8_t>(address)) =
          controller.Register(static_cast<std::uint8_t>(address));
    }
    const ParameterFileBytes bytes = EncodeParameterFile(image);
    return std::string(bytes.begin(), bytes.end());
  }

  // The files of the working folder, names and contents, to show that nothing was written.
  std::vector<std::pair<std::string, std::string>> FolderContents() const {
    std::vector<std::pair<std::string, std::string>> contents;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
      contents.emplace_back(entry.path().filename().string(), testing::ReadFile(entry.path()));
    }
    std::sort(contents.begin(), contents.end());
    return contents;
  }

  testing::TempDir dir_;
  std::unique_ptr<sim::testing::ChildProcess> zavsim_;
};

}  // namespace zav::test
