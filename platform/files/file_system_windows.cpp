// The file-system calls on Windows. Handles are kept in a table and handed out as small
// numbers, as the interface speaks of ints; errors are given as the errno values the
// portable code and its messages know.

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/files/file_system.h"

namespace zav {

namespace {

constexpr std::uint32_t kWritablePermissions = 0666;
constexpr std::uint32_t kReadOnlyPermissions = 0444;
constexpr std::uint32_t kOwnerWriteBit = 0200;
constexpr DWORD kLargestWrite = 1u << 30;  // bytes; WriteFile takes a 32-bit count
// Writing, and reading and setting the attributes (SetPermissions reads them to change only
// the read-only flag): GENERIC_WRITE alone does not include reading them.
constexpr DWORD kWriteAccess = GENERIC_WRITE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

int LastErrno() {
  return ErrnoOf(GetLastError());
}

int ErrorUnless(BOOL succeeded) {
  return succeeded ? 0 : LastErrno();
}

class WindowsFileSystem final : public FileSystem {
 public:
  ~WindowsFileSystem() override {
    for (HANDLE handle : handles_) {
      if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
      }
    }
  }

  int Inspect(const std::filesystem::path& path, FileFacts& facts) override {
    facts = FileFacts{};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
      const int error = LastErrno();
      return error == ENOENT ? 0 : error;
    }
    facts.exists = true;
    facts.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.regular = !facts.folder && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
    const bool readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.permissions = readOnly ? kReadOnlyPermissions : kWritablePermissions;
    return 0;
  }

  // The access rights of a new file come from its folder; `permissions` only decide
  // whether it is read-only, which SetPermissions does.
  int CreateNew(const std::filesystem::path& path, std::uint32_t /*permissions*/,
                int& handle) override {
    return Opened(CreateFileW(path.c_str(), kWriteAccess, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  handle);
  }

  int OpenExisting(const std::filesystem::path& path, int& handle) override {
    return Opened(CreateFileW(path.c_str(), kWriteAccess, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  handle);
  }

  int WriteFromStart(int handle, std::span<const std::uint8_t> bytes) override {
    const HANDLE file = At(handle);
    if (!SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN)) {
      return LastErrno();
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
      const DWORD wanted =
          static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kLargestWrite));
      DWORD written = 0;
      if (!WriteFile(file, bytes.data() + done, wanted, &written, nullptr)) {
        return LastErrno();
      }
      done += written;
    }
    return 0;
  }

  int Truncate(int handle, std::uint64_t size) override {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(size);
    const HANDLE file = At(handle);
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
      return LastErrno();
    }
    return ErrorUnless(SetEndOfFile(file));
  }

  // Owners are access-control entries on Windows; the replaced file keeps its own (see
  // Rename), so there is nothing to copy.
  int SetOwner(int /*handle*/, std::int64_t /*owner*/, std::int64_t /*group*/) override {
    return 0;
  }

  // Of the permission bits only the owner's write bit has a counterpart: read-only.
  int SetPermissions(int handle, std::uint32_t permissions) override {
    FILE_BASIC_INFO info{};
    const HANDLE file = At(handle);
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &info, sizeof info)) {
      return LastErrno();
    }
    if ((permissions & kOwnerWriteBit) == 0) {
      info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    } else {
      info.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    }
    if (info.FileAttributes == 0) {
      info.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // 0 would mean "leave them as they are"
    }
    return ErrorUnless(SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info));
  }

  int Sync(int handle) override { return ErrorUnless(FlushFileBuffers(At(handle))); }

  int Close(int handle) override {
    const HANDLE file = At(handle);
    handles_[static_cast<std::size_t>(handle)] = INVALID_HANDLE_VALUE;
    return ErrorUnless(CloseHandle(file));
  }

  // An existing file is replaced by ReplaceFileW, which keeps its access rights and
  // attributes; a new name is given by a move that returns only once it is on the disk.
  // A read-only file can be neither replaced nor moved over: its flag is lifted for the
  // replace and set again on the file in its place, or on the old one when the replace
  // failed.
  int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    const DWORD attributes = GetFileAttributesW(to.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
      return LastErrno();
    }
    const int replaced = Replace(from, to);
    if (!readOnly) {
      return replaced;
    }
    const DWORD now = replaced == 0 ? GetFileAttributesW(to.c_str()) : attributes;
    if (now == INVALID_FILE_ATTRIBUTES) {
      return LastErrno();
    }
    const int flagged = ErrorUnless(SetFileAttributesW(to.c_str(), now | FILE_ATTRIBUTE_READONLY));
    return replaced != 0 ? replaced : flagged;
  }

  int Remove(const std::filesystem::path& path) override {
    return ErrorUnless(DeleteFileW(path.c_str()));
  }

  // A folder cannot be flushed on its own here; the move above writes through instead.
  int SyncFolder(const std::filesystem::path& /*folder*/) override { return 0; }

 private:
  static int Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
      return 0;
    }
    return ErrorUnless(
        MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  }

  int Opened(HANDLE file, int& handle) {
    if (file == INVALID_HANDLE_VALUE) {
      handle = -1;
      return LastErrno();
    }
    handle = static_cast<int>(handles_.size());
    handles_.push_back(file);
    return 0;
  }

  HANDLE At(int handle) const {
    if (handle < 0 || static_cast<std::size_t>(handle) >= handles_.size()) {
      return INVALID_HANDLE_VALUE;
    }
    return handles_[static_cast<std::size_t>(handle)];
  }

  std::vector<HANDLE> handles_;  // indexed by the handles given out; closed ones are invalid
};

}  // namespace

std::unique_ptr<FileSystem> SystemFileSystem() {
  return std::make_unique<WindowsFileSystem>();
}

}  // namespace zav
