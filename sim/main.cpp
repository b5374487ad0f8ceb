// zavsim: a virtual ZAV controller served on a pseudo-terminal or a serial device.

#include <signal.h>

#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/controller.h"
#include "sim/firmware_file.h"
#include "sim/program_options.h"
#include "sim/replug.h"
#include "sim/serial_endpoint.h"
#include "sim/serve_loop.h"

namespace {

// Set by SIGINT and SIGTERM; the serve loop ends when it sees it.
volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

// Blocks the stop signals outside the serve loop's wait; `waitMask` gets the mask to wait
// with, in which they are open.
bool CatchStopSignals(sigset_t& waitMask) {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  if (sigprocmask(SIG_BLOCK, &stopSignals, &waitMask) != 0 ||
      sigaction(SIGINT, &action, nullptr) != 0 || sigaction(SIGTERM, &action, nullptr) != 0) {
    return false;
  }
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  return true;
}

int Fail(const std::string& error, int exitCode) {
  std::cerr << "zavsim: " << error << "\n";
  return exitCode;
}

void KeepImages(zav::sim::Controller& controller, const std::string& path) {
  controller.onFirmware = [path](const std::vector<std::uint8_t>& image) {
    std::string error;
    if (zav::sim::WriteFileAtomically(path, image, error)) {
      std::cerr << "zavsim: firmware image of " << image.size() << " bytes written to " << path
                << "\n";
    } else {
      std::cerr << "zavsim: " << error << "\n";
    }
  };
}

// One line per request: "request <letter> <address> <value>", for tests and debugging.
void LogRequests(zav::sim::Controller& controller) {
  controller.onRequest = [](const zav::sim::ReceivedRequest& request) {
    std::cerr << "request " << request.letter << ' ' << unsigned{request.address} << ' '
              << request.value << std::endl;
  };
}

void SetUpController(zav::sim::Controller& controller, const zav::sim::ProgramOptions& options) {
  controller.SetErrorFlags(options.errorFlags);
  if (options.logRequests) {
    LogRequests(controller);
  }
  if (!options.firmwareOut.empty()) {
    KeepImages(controller, options.firmwareOut);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zav::sim;
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (!parsed.options) {
    return Fail(parsed.error + "\nTry 'zavsim --help'.", 2);
  }
  const ProgramOptions& options = *parsed.options;
  if (options.showHelp) {
    std::cout << UsageText();
    return 0;
  }
  sigset_t waitMask;
  if (!CatchStopSignals(waitMask)) {
    return Fail("cannot catch the stop signals", 1);
  }
  std::string error;
  if (!options.linkPath.empty()) {
    Controller controller(options.controller);
    SetUpController(controller, options);
    return ServePluggable(options, controller, stopRequested, waitMask, error) ? 0 : Fail(error, 1);
  }
  const std::optional<SerialEndpoint> endpoint = options.pseudoTerminal
                                                     ? OpenPseudoTerminal(error)
                                                     : OpenSerialDevice(options.devicePath, error);
  if (!endpoint) {
    return Fail(error, 1);
  }
  std::cout << endpoint->path << std::endl;  // the first line: where a client connects

  Controller controller(options.controller);
  SetUpController(controller, options);
  if (!ServeLine(endpoint->line.Get(), controller, stopRequested, waitMask, error)) {
    return Fail(error, 1);
  }
  return 0;
}
