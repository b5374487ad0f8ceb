#pragma once
// Runs a program (zavsim, sx, socat) as a child of a test, and makes sure it is gone
// afterwards: killed and reaped on every path out of the test.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zav::sim::testing {

class ChildProcess {
 public:
  // Standard output and error come to pipes here, unless `lineFd` is given: then it is the
  // child's standard input and output (and its standard input is /dev/null otherwise). The
  // child runs in `folder` when one is given.
  ChildProcess(const std::string& program, std::vector<std::string> arguments, int lineFd = -1,
               const std::string& folder = {}) {
    std::array<int, 2> out{};
    std::array<int, 2> err{};
    if (pipe(out.data()) != 0 || pipe(err.data()) != 0) {
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (lineFd >= 0) {
      posix_spawn_file_actions_adddup2(&actions, lineFd, STDIN_FILENO);
    } else {
      posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&actions, lineFd >= 0 ? lineFd : out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    if (!folder.empty()) {
      posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    }
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& word : arguments) {
      argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    stdout_ = out[0];
    stderr_ = err[0];
  }

  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  ~ChildProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(stdout_);
    close(stderr_);
  }

  bool Started() const { return pid_ > 0 || exitStatus_.has_value(); }
  void Signal(int signal) const {
    if (pid_ > 0) {  // never kill(-1, ...): that would reach every process we may signal
      kill(pid_, signal);
    }
  }

  // One line of standard output, without its line feed.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string line;
    char byte = 0;
    while (WaitReadable(stdout_, deadline) && read(stdout_, &byte, 1) == 1) {
      if (byte == '\n') {
        return line;
      }
      line += byte;
    }
    return std::nullopt;
  }

  // What the child wrote, once it has ended.
  std::string StandardOutput() const { return ReadToEnd(stdout_); }
  std::string StandardError() const { return ReadToEnd(stderr_); }

  // The raw wait status once the child has ended; nothing while it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        exitStatus_ = status;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    return exitStatus_;
  }

 private:
  static bool WaitReadable(int fd, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd watched{fd, POLLIN, 0};
    return left.count() > 0 && poll(&watched, 1, static_cast<int>(left.count())) == 1;
  }

  static std::string ReadToEnd(int fd) {
    std::string text;
    std::array<char, 256> buffer{};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    ssize_t count = 0;
    while (WaitReadable(fd, deadline) && (count = read(fd, buffer.data(), buffer.size())) > 0) {
      text.append(buffer.data(), static_cast<std::size_t>(count));
    }
    return text;
  }

  pid_t pid_ = -1;
  int stdout_ = -1;
  int stderr_ = -1;
  std::optional<int> exitStatus_;
};

}  // namespace zav::sim::testing
