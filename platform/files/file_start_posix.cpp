// Reading a file's first bytes on a POSIX system.

#include <fcntl.h>
#include <unistd.h>

#include "platform/files/file_start.h"
#include "platform/files/retrying_posix.h"

namespace zav {

std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::filesystem::path& path,
                                                       std::size_t count) {
  const int handle = Retrying([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
  if (handle < 0) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(count);
  std::size_t got = 0;
  while (got < count) {
    const ssize_t read = Retrying([&] { return ::read(handle, bytes.data() + got, count - got); });
    if (read < 0) {
      ::close(handle);
      return std::nullopt;
    }
    if (read == 0) {
      break;  // the end of the file
    }
    got += static_cast<std::size_t>(read);
  }
  ::close(handle);
  bytes.resize(got);
  return bytes;
}

}  // namespace zav
