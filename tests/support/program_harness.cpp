#include "tests/support/program_harness.h"

#include "resources/main_template.h"

namespace zav::testing {

ProgramHarness::ProgramHarness(std::optional<std::string> settings, sim::ControllerOptions options)
    : controller(options) {
  ports.lines["COM1"] = &line;
  SetUpProgram(program, desktop, device, dir.Path());
  if (settings) {
    WriteFile(dir / "zavmon.cfg", *settings);
  }
}

int ProgramHarness::RunUntil(Micros end) {
  desktop.At(end, [this] { desktop.RequestClose(kMainTemplateId); });
  return RunMainWindow(program);
}

const headless::ControlState& ProgramHarness::Main(int controlId) const {
  return desktop.Control(kMainTemplateId, controlId);
}

}  // namespace zav::testing
