#include "sim/serve_loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <limits>

namespace zav::sim {
namespace {

// The controller's timers (model steps, upload time-outs) need a look at least this often (us).
constexpr Micros kLongestWait = 10 * kMillisecond;
// Bytes from the tool waiting for their paced arrival; beyond this the kernel holds the rest.
constexpr std::size_t kMostWaitingInput = 4096;

struct PacedLine {
  std::deque<TimedByte> arriving;  // from the tool; notBefore: when it counts as arrived
  Micros lastArrival = std::numeric_limits<Micros>::min() / 2;
  std::deque<TimedByte> leaving;  // to the tool, in order
  Micros lineFreeAt = 0;          // when the line can take the next byte out
};

void CollectOutput(PacedLine& line, Controller& controller) {
  while (const std::optional<TimedByte> out = controller.NextOutput()) {
    line.leaving.push_back(*out);
  }
}

void DeliverArrived(PacedLine& line, Controller& controller, Micros now) {
  while (!line.arriving.empty() && line.arriving.front().notBefore <= now) {
    const TimedByte arrived = line.arriving.front();
    line.arriving.pop_front();
    controller.Receive(arrived.byte, arrived.notBefore);
    CollectOutput(line, controller);
  }
  controller.Advance(now);
  CollectOutput(line, controller);
}

Micros NextSendAt(const PacedLine& line) {
  return std::max(line.leaving.front().notBefore, line.lineFreeAt);
}

bool SendDue(int fd, PacedLine& line, Micros now, std::string& error) {
  while (!line.leaving.empty() && NextSendAt(line) <= now) {
    const std::uint8_t byte = line.leaving.front().byte;
    const ssize_t written = write(fd, &byte, 1);
    if (written < 0 && errno == EINTR) {
      return true;
    }
    // A full buffer means no one is reading; the byte is lost as on an unplugged line.
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      error = std::string("cannot write to the line: ") + std::strerror(errno);
      return false;
    }
    line.leaving.pop_front();
    line.lineFreeAt = now + kByteTime;
  }
  return true;
}

bool ReadArrivals(int fd, PacedLine& line, Micros now, std::string& error) {
  std::array<std::uint8_t, 256> buffer{};
  const ssize_t count = read(fd, buffer.data(), buffer.size());
  if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
    return true;
  }
  if (count < 0) {
    error = std::string("cannot read from the line: ") + std::strerror(errno);
    return false;
  }
  for (std::size_t index = 0; index < static_cast<std::size_t>(count); ++index) {
    const Micros arrival = std::max(now, line.lastArrival + kByteTime);
    line.arriving.push_back(TimedByte{buffer[index], arrival});
    line.lastArrival = arrival;
  }
  return true;
}

Micros NextWakeAt(const PacedLine& line, Micros now) {
  Micros wake = now + kLongestWait;
  if (!line.arriving.empty()) {
    wake = std::min(wake, line.arriving.front().notBefore);
  }
  if (!line.leaving.empty()) {
    wake = std::min(wake, NextSendAt(line));
  }
  return std::max(wake, now);
}

enum class LineEvent { kQuiet, kReadable, kFailed };

// Waits until the line is readable, `wakeAt` or a signal.
LineEvent WaitForLine(int fd, const PacedLine& line, Micros now, Micros wakeAt,
                      const sigset_t& waitMask, std::string& error) {
  pollfd watched{fd, 0, 0};
  if (line.arriving.size() < kMostWaitingInput) {
    watched.events = POLLIN;
  }
  const Micros wait = wakeAt - now;
  const timespec timeout{static_cast<time_t>(wait / kSecond),
                         static_cast<long>(wait % kSecond * 1000)};
  const int ready = ppoll(&watched, 1, &timeout, &waitMask);
  if (ready < 0 && errno != EINTR) {
    error = std::string("cannot wait for the line: ") + std::strerror(errno);
    return LineEvent::kFailed;
  }
  if (ready <= 0) {
    return LineEvent::kQuiet;
  }
  if ((watched.revents & POLLIN) != 0) {
    return LineEvent::kReadable;
  }
  error = "the line was hung up";
  return LineEvent::kFailed;
}

}  // namespace

bool ServeLine(int lineFd, Controller& controller, const volatile std::sig_atomic_t& stopRequested,
               const sigset_t& waitMask, std::string& error) {
  const ServeClock clock;
  return ServeLineUntil(lineFd, controller, stopRequested, waitMask, clock, std::nullopt, error);
}

bool ServeLineUntil(int lineFd, Controller& controller,
                    const volatile std::sig_atomic_t& stopRequested, const sigset_t& waitMask,
                    const ServeClock& clock, std::optional<Micros> until, std::string& error) {
  PacedLine line;
  while (stopRequested == 0) {
    const Micros now = clock.Now();
    if (until && now >= *until) {
      return true;
    }
    DeliverArrived(line, controller, now);
    if (!SendDue(lineFd, line, now, error)) {
      return false;
    }
    Micros wakeAt = NextWakeAt(line, now);
    if (until) {
      wakeAt = std::max(now, std::min(wakeAt, *until));
    }
    const LineEvent event = WaitForLine(lineFd, line, now, wakeAt, waitMask, error);
    if (event == LineEvent::kFailed ||
        (event == LineEvent::kReadable && !ReadArrivals(lineFd, line, clock.Now(), error))) {
      return false;
    }
  }
  return true;
}

}  // namespace zav::sim
