// The file-system calls on a POSIX system.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/file_system.h"
#include "platform/files/retrying_posix.h"

namespace zav {

namespace {

int ErrorOf(int result) {
  return result == 0 ? 0 : errno;
}

class PosixFileSystem final : public FileSystem {
 public:
  int Inspect(const std::filesystem::path& path, FileFacts& facts) override {
    struct stat status {};
    facts = FileFacts{};
    if (::stat(path.c_str(), &status) != 0) {
      return errno == ENOENT ? 0 : errno;
    }
    facts.exists = true;
    facts.regular = S_ISREG(status.st_mode);
    facts.folder = S_ISDIR(status.st_mode);
    facts.permissions = status.st_mode & 07777;
    facts.owner = status.st_uid;
    facts.group = status.st_gid;
    return 0;
  }

  int CreateNew(const std::filesystem::path& path, std::uint32_t permissions,
                int& handle) override {
    handle = Retrying([&] {
      return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    static_cast<mode_t>(permissions));
    });
    return handle < 0 ? errno : 0;
  }

  int OpenExisting(const std::filesystem::path& path, int& handle) override {
    handle = Retrying([&] { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC); });
    return handle < 0 ? errno : 0;
  }

  int WriteFromStart(int handle, std::span<const std::uint8_t> bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t count = Retrying([&] {
        return ::pwrite(handle, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
      });
      if (count < 0) {
        return errno;
      }
      done += static_cast<std::size_t>(count);
    }
    return 0;
  }

  int Truncate(int handle, std::uint64_t size) override {
    return ErrorOf(Retrying([&] { return ::ftruncate(handle, static_cast<off_t>(size)); }));
  }

  int SetOwner(int handle, std::int64_t owner, std::int64_t group) override {
    return ErrorOf(::fchown(handle, static_cast<uid_t>(owner), static_cast<gid_t>(group)));
  }

  int SetPermissions(int handle, std::uint32_t permissions) override {
    return ErrorOf(::fchmod(handle, static_cast<mode_t>(permissions)));
  }

  int Sync(int handle) override {
    return ErrorOf(Retrying([&] { return ::fsync(handle); }));
  }

  // A close that fails may still have released the handle, so it is never repeated.
  int Close(int handle) override { return ErrorOf(::close(handle)); }

  int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return ErrorOf(::rename(from.c_str(), to.c_str()));
  }

  int Remove(const std::filesystem::path& path) override { return ErrorOf(::unlink(path.c_str())); }

  int SyncFolder(const std::filesystem::path& folder) override {
    const int handle =
        Retrying([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (handle < 0) {
      return errno;
    }
    const int error = Sync(handle);
    ::close(handle);
    return error;
  }
};

}  // namespace

std::unique_ptr<FileSystem> SystemFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

}  // namespace zav
