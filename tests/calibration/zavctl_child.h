#pragma once
// zavctl as a child process on files only (calibrate opens no port), until it ends. The
// test program defines ZAVCTL_PATH.

#include <sys/wait.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/sim/zavsim_process.h"

namespace zav::testing {

struct ZavctlRun {
  int code = -1;  // the exit code; -1 when it did not end normally in time
  std::string out;
  std::string err;
};

inline ZavctlRun Zavctl(const std::vector<std::string>& arguments) {
  sim::testing::ChildProcess zavctl(ZAVCTL_PATH, arguments);
  ZavctlRun run;
  const std::optional<int> status = zavctl.WaitForExit(std::chrono::seconds(60));
  if (status && WIFEXITED(*status)) {
    run.code = WEXITSTATUS(*status);
  }
  run.out = zavctl.StandardOutput();
  run.err = zavctl.StandardError();
  return run;
}

}  // namespace zav::testing
