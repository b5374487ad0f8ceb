#include "sim/replug.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "sim/serial_endpoint.h"
#include "sim/serve_loop.h"

namespace zav::sim {
namespace {

// Points `link` at `target`, replacing what was there in one step: a client never finds it
// missing or half-made.
bool RenewLink(const std::string& link, const std::string& target, std::string& error) {
  const std::string fresh = link + ".new";
  std::remove(fresh.c_str());
  if (symlink(target.c_str(), fresh.c_str()) != 0 || rename(fresh.c_str(), link.c_str()) != 0) {
    error = "cannot link " + link + " to " + target + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

// Waits `forMs` or until a stop signal.
void Pause(std::uint32_t forMs, const volatile std::sig_atomic_t& stopRequested,
           const sigset_t& waitMask) {
  const ServeClock clock;
  const Micros end = static_cast<Micros>(forMs) * kMillisecond;
  while (stopRequested == 0 && clock.Now() < end) {
    const Micros left = end - clock.Now();
    const timespec timeout{static_cast<time_t>(left / kSecond),
                           static_cast<long>(left % kSecond * 1000)};
    ppoll(nullptr, 0, &timeout, &waitMask);
  }
}

std::optional<SerialEndpoint> PlugIn(const ProgramOptions& options, std::string& error) {
  std::optional<SerialEndpoint> endpoint = OpenPseudoTerminal(error);
  if (endpoint && !options.linkPath.empty() &&
      !RenewLink(options.linkPath, endpoint->path, error)) {
    return std::nullopt;
  }
  if (endpoint) {
    std::cout << endpoint->path << std::endl;  // where a client connects now
  }
  return endpoint;
}

}  // namespace

bool ServePluggable(const ProgramOptions& options, Controller& controller,
                    const volatile std::sig_atomic_t& stopRequested, const sigset_t& waitMask,
                    std::string& error) {
  const ServeClock clock;
  std::optional<SerialEndpoint> endpoint = PlugIn(options, error);
  if (!endpoint) {
    return false;
  }
  if (options.unplugAfterMs != 0) {
    const Micros unplugAt = static_cast<Micros>(options.unplugAfterMs) * kMillisecond;
    if (!ServeLineUntil(endpoint->line.Get(), controller, stopRequested, waitMask, clock, unplugAt,
                        error)) {
      return false;
    }
    // Pulled out: the client's open line fails, and the name leads nowhere until the replug.
    endpoint.reset();
    std::remove(options.linkPath.c_str());
    std::cerr << "zavsim: unplugged for " << options.unplugForMs << " ms" << std::endl;
    Pause(options.unplugForMs, stopRequested, waitMask);
    if (stopRequested != 0) {
      return true;
    }
    endpoint = PlugIn(options, error);
    if (!endpoint) {
      return false;
    }
  }
  const bool served = ServeLineUntil(endpoint->line.Get(), controller, stopRequested, waitMask,
                                     clock, std::nullopt, error);
  if (!options.linkPath.empty()) {
    std::remove(options.linkPath.c_str());
  }
  return served;
}

}  // namespace zav::sim
