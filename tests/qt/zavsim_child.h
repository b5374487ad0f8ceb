#pragma once
// zavsim serving a fresh pseudo-terminal, as a child of the test: started with --pty, its
// first line of output (the terminal's path) read, and killed and reaped however the test
// ends.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace zav::test {

class ZavsimChild {
 public:
  explicit ZavsimChild(const std::string& program);
  ~ZavsimChild();
  ZavsimChild(const ZavsimChild&) = delete;
  ZavsimChild& operator=(const ZavsimChild&) = delete;

  // The pseudo-terminal's path, or nothing when zavsim did not say it in time.
  std::optional<std::string> TerminalPath(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int output_ = -1;  // zavsim's standard output
};

}  // namespace zav::test
