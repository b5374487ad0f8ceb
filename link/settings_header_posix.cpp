#include <fcntl.h>
#include <unistd.h>

#include "link/settings_header.h"

namespace zav {

bool WritePortNameInPlace(const std::filesystem::path& settingsFile, std::string_view name) {
  // O_CREAT without O_TRUNC: creates a missing file and leaves an existing one's length.
  constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
  const int fd = ::open(settingsFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, kNewFileMode);
  if (fd < 0) {
    return false;
  }
  const ssize_t written = ::pwrite(fd, name.data(), name.size(), 0);
  const bool closed = ::close(fd) == 0;
  return written == static_cast<ssize_t>(name.size()) && closed;
}

}  // namespace zav
