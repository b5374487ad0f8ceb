#include "sim/serial_endpoint.h"

#include <fcntl.h>
#include <termios.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zav::sim {
namespace {

std::string Describe(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool MakeRaw9600(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) {
    return false;
  }
  settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                             ICRNL | IXON | IXOFF | IXANY);
  settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
#ifdef CRTSCTS
  settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  cfsetispeed(&settings, B9600);
  cfsetospeed(&settings, B9600);
  return tcsetattr(fd, TCSANOW, &settings) == 0;
}

bool SetNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

std::optional<SerialEndpoint> OpenPseudoTerminal(std::string& error) {
  SerialEndpoint endpoint;
  endpoint.line = UniqueFd(posix_openpt(O_RDWR | O_NOCTTY));
  const int master = endpoint.line.Get();
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    error = Describe("cannot create a", "pseudo-terminal");
    return std::nullopt;
  }
  const char* slaveName = ptsname(master);
  if (slaveName == nullptr) {
    error = Describe("cannot name the", "pseudo-terminal");
    return std::nullopt;
  }
  endpoint.path = slaveName;
  endpoint.heldSlave = UniqueFd(open(slaveName, O_RDWR | O_NOCTTY | O_NONBLOCK));
  if (!endpoint.heldSlave.IsOpen() || !MakeRaw9600(endpoint.heldSlave.Get()) ||
      !SetNonBlocking(master)) {
    error = Describe("cannot set up", endpoint.path);
    return std::nullopt;
  }
  return endpoint;
}

std::optional<SerialEndpoint> OpenSerialDevice(const std::string& path, std::string& error) {
  SerialEndpoint endpoint;
  endpoint.path = path;
  endpoint.line = UniqueFd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
  if (!endpoint.line.IsOpen()) {
    error = Describe("cannot open", path);
    return std::nullopt;
  }
  if (!MakeRaw9600(endpoint.line.Get())) {
    error = Describe("cannot configure", path);
    return std::nullopt;
  }
  tcflush(endpoint.line.Get(), TCIOFLUSH);
  return endpoint;
}

}  // namespace zav::sim
