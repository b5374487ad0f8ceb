#pragma once
// The tool's end of a serial line, for tests of zavsim: a terminal device opened raw. It
// blocks, as a program handed it as standard input and output (such as sx) expects; reads
// here wait with poll first.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zav::sim::testing {

class SerialClient {
 public:
  explicit SerialClient(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
    termios settings{};
    if (fd_ >= 0 && tcgetattr(fd_, &settings) == 0) {
      cfmakeraw(&settings);
      cfsetispeed(&settings, B9600);
      cfsetospeed(&settings, B9600);
      tcsetattr(fd_, TCSANOW, &settings);
      tcflush(fd_, TCIOFLUSH);
    }
  }
  SerialClient(const SerialClient&) = delete;
  SerialClient& operator=(const SerialClient&) = delete;
  ~SerialClient() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }

  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

  bool Write(std::span<const std::uint8_t> bytes) {
    return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Reads until `count` bytes came or `timeout` passed.
  std::vector<std::uint8_t> Read(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd watched{fd_, POLLIN, 0};
      if (left.count() <= 0 || poll(&watched, 1, static_cast<int>(left.count())) != 1) {
        break;
      }
      std::uint8_t buffer[256];
      const ssize_t got = read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
      if (got > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
      }
    }
    return bytes;
  }

 private:
  int fd_ = -1;
};

}  // namespace zav::sim::testing
