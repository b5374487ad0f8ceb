#pragma once
// The parameter commands on the headless host, run from the program's own main window.

#include <string>

#include "params/config_library.h"
#include "tests/support/program_harness.h"

namespace zav::testing {

inline constexpr Micros kTick = 150 * kMillisecond;

// 96 bytes of a library record: the name (cut or padded to 64 bytes) and the words.
std::string LibraryRecord(std::string_view name, const ParameterWords& words);
// A whole settings file: "COM1" and the records.
std::string SettingsWith(const std::vector<std::string>& records);
// Bytes 0 to 29 of a parameter file holding these words.
std::string WordBytes(const ParameterWords& words);

// The real program on the headless host (see ProgramHarness), with names for the parts the
// parameter tests look at.
class ParamsHarness : public ProgramHarness {
 public:
  // The user gives a menu command at `time`.
  void CommandAt(Micros time, int commandId);
  std::string NameField() const;

  Link& link = program.link;
  ConfigLibrary& library = program.library;
};

}  // namespace zav::testing
