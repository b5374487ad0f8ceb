#pragma once
// The line zavsim serves: a pseudo-terminal it creates, or a serial device. Both are set to
// raw 8N1 at 9600 baud without flow control, and read and written without blocking.

#include <optional>
#include <string>

#include "sim/unique_fd.h"

namespace zav::sim {

struct SerialEndpoint {
  UniqueFd line;  // what zavsim reads and writes: the pseudo-terminal's master, or the device
  // A pseudo-terminal's own slave, held open so that the line stays usable while no client
  // has it open, and a client's close never hangs it up.
  UniqueFd heldSlave;
  std::string path;  // what a client opens
};

std::optional<SerialEndpoint> OpenPseudoTerminal(std::string& error);
std::optional<SerialEndpoint> OpenSerialDevice(const std::string& path, std::string& error);

}  // namespace zav::sim
