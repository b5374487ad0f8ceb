#include "sim/firmware_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sim/unique_fd.h"

namespace zav::sim {
namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error) {
  std::string pattern = path + ".XXXXXX";
  std::vector<char> temporaryName(pattern.begin(), pattern.end());
  temporaryName.push_back('\0');
  UniqueFd file(mkstemp(temporaryName.data()));
  if (!file.IsOpen()) {
    error = "cannot create a file beside " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written =
      fchmod(file.Get(), 0644) == 0 && WriteAll(file.Get(), bytes) && fsync(file.Get()) == 0;
  const int writeErrno = errno;
  file.Reset();
  if (!written || std::rename(temporaryName.data(), path.c_str()) != 0) {
    error = "cannot write " + path + ": " + std::strerror(written ? errno : writeErrno);
    unlink(temporaryName.data());
    return false;
  }
  return true;
}

}  // namespace zav::sim
