#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "link/settings_header.h"

namespace zav {

bool WritePortNameInPlace(const std::filesystem::path& settingsFile, std::string_view name) {
  // _O_CREAT without _O_TRUNC: creates a missing file and leaves an existing one's length.
  const int fd =
      ::_wopen(settingsFile.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    return false;
  }
  const int written = ::_write(fd, name.data(), static_cast<unsigned>(name.size()));
  const bool closed = ::_close(fd) == 0;
  return written == static_cast<int>(name.size()) && closed;
}

}  // namespace zav
