#include "tests/qt/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace zav::test {
namespace {

using Clock = std::chrono::steady_clock;
// Only a guard against hanging: every wait here normally ends within milliseconds.
constexpr auto kHangGuard = std::chrono::seconds(10);

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Writes every byte to a descriptor, waiting while the pty's queue is full.
void WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  const auto deadline = Clock::now() + kHangGuard;
  while (!bytes.empty() && Clock::now() < deadline) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(written));
      continue;
    }
    pollfd writable{.fd = fd, .events = POLLOUT, .revents = 0};
    ::poll(&writable, 1, MillisecondsLeft(deadline));
  }
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  // The master needs no raw mode of its own: Linux gives it raw settings, and settings
  // applied through the master would land on the slave, hiding what the device configures.
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    return;
  }
  std::array<char, 128> name{};
  if (::ptsname_r(master_, name.data(), name.size()) != 0) {
    return;
  }
  slavePath_ = name.data();
  slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

PseudoTerminal::~PseudoTerminal() {
  if (slave_ >= 0) {
    ::close(slave_);
  }
  if (master_ >= 0) {
    ::close(master_);
  }
}

termios PseudoTerminal::SlaveSettings() const {
  termios settings{};
  ::tcgetattr(slave_, &settings);
  return settings;
}

void PseudoTerminal::MakeSlaveRaw() {
  termios settings = SlaveSettings();
  ::cfmakeraw(&settings);
  ::tcsetattr(slave_, TCSANOW, &settings);
}

bool PseudoTerminal::AwaitSlaveInput(std::size_t count) const {
  const auto deadline = Clock::now() + kHangGuard;
  int queued = 0;
  while (::ioctl(slave_, TIOCINQ, &queued) == 0 && static_cast<std::size_t>(queued) < count) {
    if (Clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return static_cast<std::size_t>(queued) >= count;
}

void PseudoTerminal::Send(std::span<const std::uint8_t> bytes) {
  WriteAll(master_, bytes);
}

void PseudoTerminal::WriteOnSlave(std::span<const std::uint8_t> bytes) {
  WriteAll(slave_, bytes);
}

std::vector<std::uint8_t> PseudoTerminal::Receive(std::size_t count) {
  std::vector<std::uint8_t> received;
  const auto deadline = Clock::now() + kHangGuard;
  while (received.size() < count && Clock::now() < deadline) {
    std::array<std::uint8_t, 4096> chunk{};
    const std::size_t wanted = std::min(chunk.size(), count - received.size());
    const ssize_t got = ::read(master_, chunk.data(), wanted);
    if (got > 0) {
      received.insert(received.end(), chunk.begin(), chunk.begin() + got);
      continue;
    }
    pollfd readable{.fd = master_, .events = POLLIN, .revents = 0};
    ::poll(&readable, 1, MillisecondsLeft(deadline));
  }
  return received;
}

void PseudoTerminal::DiscardReceived() {
  constexpr int kQuietMs = 200;
  pollfd readable{.fd = master_, .events = POLLIN, .revents = 0};
  const auto deadline = Clock::now() + kHangGuard;
  while (::poll(&readable, 1, kQuietMs) > 0 && Clock::now() < deadline) {
    std::array<std::uint8_t, 4096> chunk{};
    if (::read(master_, chunk.data(), chunk.size()) <= 0) {
      break;
    }
  }
}

void PseudoTerminal::HangUp() {
  if (master_ >= 0) {
    ::close(master_);
    master_ = -1;
  }
}

}  // namespace zav::test
