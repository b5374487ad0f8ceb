#include "tests/qt/zavsim_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace zav::test {

ZavsimChild::ZavsimChild(const std::string& program) {
  int pipeEnds[2] = {-1, -1};
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  std::string name = program;
  std::string pty = "--pty";
  std::vector<char*> argv{name.data(), pty.data(), nullptr};
  if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  output_ = pipeEnds[0];
}

ZavsimChild::~ZavsimChild() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (output_ >= 0) {
    close(output_);
  }
}

std::optional<std::string> ZavsimChild::TerminalPath(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string line;
  char byte = 0;
  while (pid_ > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd readable{output_, POLLIN, 0};
    if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) != 1 ||
        read(output_, &byte, 1) != 1) {
      return std::nullopt;
    }
    if (byte == '\n') {
      return line;
    }
    line += byte;
  }
  return std::nullopt;
}

}  // namespace zav::test
