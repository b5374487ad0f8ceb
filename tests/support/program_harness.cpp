#include "tests/support/program_harness.h"

#include "resources/main_template.h"

namespace zav::testing {

ProgramHarness::ProgramHarness(std::optional<std::string> settings, sim::ControllerOptions options)
    : controller(options) {
  ports.lines["COM1"] = &line;
  SetUpProgram(program, desktop, device, dir.Path());
  // Samples age with the virtual clock, as the log's rows and once-a-second writes do on a
  // real one; the wall clock stays the system's (log and picture names).
  program.dataLog.source.clock.steadyMs = [this] { return clock.Now() / kMillisecond; };
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
