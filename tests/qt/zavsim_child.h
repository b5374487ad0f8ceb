#pragma once
// zavsim serving a fresh pseudo-terminal, as a child of the test: started with --pty and any
// further options, its first line of output (the terminal's path) read, and killed and
// reaped however the test ends.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/sim/zavsim_process.h"

namespace zav::test {

class ZavsimChild {
 public:
  explicit ZavsimChild(const std::string& program, std::vector<std::string> options = {});

  // The pseudo-terminal's path, or nothing when zavsim did not say it in time.
  std::optional<std::string> TerminalPath(std::chrono::milliseconds timeout);

 private:
  sim::testing::ChildProcess process_;
};

}  // namespace zav::test
