#pragma once
// The few file-system calls that replacing a file's contents safely needs, behind an
// interface so that tests can watch them or make one of them fail. Every call returns 0 on
// success or the system's error number (errno) on failure.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace zav {

// What the file behind a path is, symbolic links followed.
struct FileFacts {
  bool exists = false;
  bool regular = false;
  bool folder = false;
  std::uint32_t permissions = 0;  // the mode's permission bits, set-id and sticky bits included
  std::int64_t owner = -1;        // user id
  std::int64_t group = -1;        // group id
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // A missing file is no error: it gives exists = false.
  virtual int Inspect(const std::filesystem::path& path, FileFacts& facts) = 0;
  // Creates a file that must not exist yet, for writing; `permissions` are masked by the
  // process's umask.
  virtual int CreateNew(const std::filesystem::path& path, std::uint32_t permissions,
                        int& handle) = 0;
  // Opens an existing file for writing without cutting it.
  virtual int OpenExisting(const std::filesystem::path& path, int& handle) = 0;
  // Writes all of `bytes` from the start of the file on.
  virtual int WriteFromStart(int handle, std::span<const std::uint8_t> bytes) = 0;
  virtual int Truncate(int handle, std::uint64_t size) = 0;  // size in bytes
  virtual int SetOwner(int handle, std::int64_t owner, std::int64_t group) = 0;
  virtual int SetPermissions(int handle, std::uint32_t permissions) = 0;
  // Returns once the file's data and size are on the disk.
  virtual int Sync(int handle) = 0;
  virtual int Close(int handle) = 0;
  virtual int Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  virtual int Remove(const std::filesystem::path& path) = 0;
  // Returns once the folder's entries (a rename into it) are on the disk.
  virtual int SyncFolder(const std::filesystem::path& folder) = 0;
};

// The operating system's own calls.
std::unique_ptr<FileSystem> SystemFileSystem();

}  // namespace zav
