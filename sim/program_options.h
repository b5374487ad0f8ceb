#pragma once
// The command line of zavsim.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/controller.h"

namespace zav::sim {

struct ProgramOptions {
  bool showHelp = false;
  bool pseudoTerminal = false;  // --pty
  std::string devicePath;       // --device PATH
  std::string firmwareOut;      // --firmware-out FILE; empty: images are not kept
  std::uint16_t errorFlags = 0;
  bool logRequests = false;  // --log: each request taken in, on standard error
  std::string linkPath;      // --link PATH: a symlink to the pseudo-terminal, renewed on replug
  std::uint32_t unplugAfterMs = 0;  // --unplug-after S; 0: never unplugged
  std::uint32_t unplugForMs = 0;    // --unplug-for S
  ControllerOptions controller;
};

struct ParsedCommandLine {
  std::optional<ProgramOptions> options;
  std::string error;  // why the command line was refused
};

// `arguments` without the program name.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments);

std::string UsageText();

}  // namespace zav::sim
