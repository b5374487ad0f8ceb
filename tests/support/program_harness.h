#pragma once
// The whole program on the headless host: main window, poll cycle and commands, wired to an
// in-process controller on COM1, in a fresh working folder.

#include <string>

#include "hosts/headless/headless_desktop.h"
#include "hosts/headless/virtual_serial_device.h"
#include "sim/controller.h"
#include "tests/support/temp_dir.h"
#include "ui/program.h"

namespace zav::testing {

using headless::kMillisecond;
using headless::kSecond;
using headless::Micros;

class ProgramHarness {
 public:
  // `settings`: the bytes of "zavmon.cfg"; nothing: no settings file at all.
  explicit ProgramHarness(std::optional<std::string> settings = std::string("COM1"),
                          sim::ControllerOptions options = {});

  // Runs the program from time 0; its close box is pressed at `end`. Returns the exit code.
  int RunUntil(Micros end);

  // The main window's control as it stands now (or as it stood when the window closed).
  const headless::ControlState& Main(int controlId) const;
  std::string MainText(int controlId) const { return Main(controlId).text; }

  TempDir dir;
  headless::VirtualClock clock;
  sim::Controller controller;
  headless::VirtualLine line{clock, controller};
  headless::VirtualPorts ports;
  headless::VirtualSerialDevice device{clock, ports};
  headless::HeadlessDesktop desktop{clock};
  Program program;
};

}  // namespace zav::testing
