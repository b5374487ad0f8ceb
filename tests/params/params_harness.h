#pragma once
// The parameter commands on the headless host: a main window from template 1000 that opens
// COM1 (an in-process controller), loads the configuration library, runs the poll tick with
// the name lookup, and carries out "Open", "Save", "Edit" and "Default values".

#include <string>

#include "params/config_library.h"
#include "platform/headless/headless_desktop.h"
#include "platform/headless/virtual_serial_device.h"
#include "sim/controller.h"
#include "tests/support/temp_dir.h"

namespace zav::testing {

using headless::kMillisecond;
using headless::kSecond;
using headless::Micros;

inline constexpr Micros kTick = 150 * kMillisecond;

// 96 bytes of a library record: the name (cut or padded to 64 bytes) and the words.
std::string LibraryRecord(std::string_view name, const ParameterWords& words);
// A whole settings file: "COM1" and the records.
std::string SettingsWith(const std::vector<std::string>& records);
// Bytes 0 to 29 of a parameter file holding these words.
std::string WordBytes(const ParameterWords& words);

class ParamsHarness {
 public:
  ParamsHarness();

  // Runs the main window from time 0; its close box is pressed at `end`.
  void RunUntil(Micros end);
  // The user gives a menu command at `time`.
  void CommandAt(Micros time, int commandId);
  std::string NameField() const;

  TempDir dir;
  headless::VirtualClock clock;
  sim::Controller controller;
  headless::VirtualLine line{clock, controller};
  headless::VirtualPorts ports;
  headless::VirtualSerialDevice device{clock, ports};
  headless::HeadlessDesktop desktop{clock};
  Link link;
  ConfigLibrary library;

 private:
  bool MainProc(Desktop& desk, WindowRef window, const DialogEvent& event);
};

}  // namespace zav::testing
