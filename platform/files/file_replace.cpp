#include "platform/files/file_replace.h"

#include <cerrno>
#include <system_error>

namespace zav {

namespace {

constexpr int kTempNameAttempts = 100;  // leftovers of earlier failed saves are skipped
constexpr int kLinkHops = 40;           // as many links as the system itself follows
constexpr std::uint32_t kNewFilePermissions = 0666;  // before the umask, as any new file
constexpr std::uint32_t kPrivatePermissions = 0600;  // until the old file's are copied

// A device or a pipe is never renamed over nor cut.
constexpr const char* kNotAPlainFile = "it is not a plain file";

std::string Reason(int error) {
  return std::generic_category().message(error);
}

std::optional<std::string> ReasonIf(int error) {
  if (error == 0) {
    return std::nullopt;
  }
  return Reason(error);
}

// The file a chain of symbolic links ends at (the path itself when it is no link). A link
// that leads nowhere gives the missing file it names, which is then created.
std::filesystem::path FileBehindLinks(const std::filesystem::path& path) {
  std::filesystem::path current = path;
  for (int hop = 0; hop < kLinkHops; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(current, error)) {
      return current;
    }
    const std::filesystem::path target = std::filesystem::read_symlink(current, error);
    if (error) {
      return current;
    }
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current;  // a loop: inspecting it reports it
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Every step runs only while the ones before succeeded; the first failure is kept.
struct Steps {
  int error = 0;
  template <typename Call>
  Steps& Then(Call call) {
    if (error == 0) {
      error = call();
    }
    return *this;
  }
};

struct NewFile {
  std::filesystem::path path;
  int handle = -1;
  int error = 0;
};

// A new file beside `target`, created exclusively so that nothing else is overwritten.
NewFile CreateBeside(const std::filesystem::path& target, std::uint32_t permissions,
                     FileSystem& files) {
  NewFile file;
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    file.path = target;
    file.path += ".saving" + std::to_string(attempt);
    file.error = files.CreateNew(file.path, permissions, file.handle);
    if (file.error != EEXIST) {
      return file;
    }
  }
  return file;
}

// The old file's owner, group and permission bits. The owner and group are set first, as
// changing them may clear set-id bits. Which of them the process may not set is skipped;
// the permission bits it may always set on a file it made, so failing that fails the save
// (a read-only file would otherwise come back writable, or a shared one private).
int TakeOverFacts(int handle, const FileFacts& old, FileSystem& files) {
  if (files.SetOwner(handle, old.owner, old.group) != 0) {
    files.SetOwner(handle, -1, old.group);
  }
  return files.SetPermissions(handle, old.permissions);
}

// Flushes the folder of `target` after a rename into it, so that the rename lasts.
int SyncFolderOf(const std::filesystem::path& target, FileSystem& files) {
  const int synced = files.SyncFolder(FolderOf(target));
  // Some file systems cannot flush a folder (EINVAL); their renames are as safe as they get.
  return synced == EINVAL ? 0 : synced;
}

// Why a file cannot be replaced at `target` at all; 0 and `old` filled when it can.
std::optional<std::string> ReplaceableProblem(const std::filesystem::path& target, FileFacts& old,
                                              FileSystem& files) {
  if (const int inspected = files.Inspect(target, old); inspected != 0) {
    return Reason(inspected);
  }
  if (old.folder) {
    return "it is a folder";
  }
  if (old.exists && !old.regular) {
    return kNotAPlainFile;
  }
  return std::nullopt;
}

std::optional<std::string> OverwriteInPlace(const std::filesystem::path& target,
                                            std::span<const std::uint8_t> bytes, bool cutToLength,
                                            FileSystem& files) {
  int handle = -1;
  const int opened = files.OpenExisting(target, handle);
  if (opened != 0) {
    return Reason(opened);
  }
  Steps steps;
  steps.Then([&] { return files.WriteFromStart(handle, bytes); })
      .Then([&] { return cutToLength ? files.Truncate(handle, bytes.size()) : 0; })
      .Then([&] { return files.Sync(handle); });
  const int closed = files.Close(handle);
  return ReasonIf(steps.error != 0 ? steps.error : closed);
}

std::optional<std::string> ReplaceThroughNewFile(const std::filesystem::path& target,
                                                 std::span<const std::uint8_t> bytes,
                                                 const FileFacts& old, FileSystem& files) {
  NewFile file =
      CreateBeside(target, old.exists ? kPrivatePermissions : kNewFilePermissions, files);
  if (file.error != 0) {
    if (old.exists && old.regular) {
      return OverwriteInPlace(target, bytes, true, files);
    }
    return Reason(file.error);
  }
  Steps steps;
  steps.Then([&] { return old.exists ? TakeOverFacts(file.handle, old, files) : 0; })
      .Then([&] { return files.WriteFromStart(file.handle, bytes); })
      .Then([&] { return files.Sync(file.handle); });
  const int closed = files.Close(file.handle);
  steps.Then([&] { return closed; }).Then([&] { return files.Rename(file.path, target); });
  if (steps.error != 0) {
    files.Remove(file.path);
    return Reason(steps.error);
  }
  return ReasonIf(SyncFolderOf(target, files));
}

}  // namespace

std::optional<std::string> ReplaceFileContents(const std::filesystem::path& path,
                                               std::span<const std::uint8_t> bytes,
                                               FileSystem& files) {
  const std::filesystem::path target = FileBehindLinks(path);
  FileFacts old;
  if (std::optional<std::string> problem = ReplaceableProblem(target, old, files)) {
    return problem;
  }
  return ReplaceThroughNewFile(target, bytes, old, files);
}

std::filesystem::path ReplacedFileOf(const std::filesystem::path& path) {
  return FileBehindLinks(path);
}

std::optional<std::string> ReplaceFileWith(const std::filesystem::path& path,
                                           const std::filesystem::path& written,
                                           FileSystem& files) {
  const std::filesystem::path target = FileBehindLinks(path);
  FileFacts old;
  if (std::optional<std::string> problem = ReplaceableProblem(target, old, files)) {
    return problem;
  }
  Steps steps;
  if (old.exists) {
    int handle = -1;
    steps.Then([&] { return files.OpenExisting(written, handle); })
        .Then([&] { return TakeOverFacts(handle, old, files); })
        .Then([&] { return files.Sync(handle); });
    if (handle >= 0) {
      const int closed = files.Close(handle);
      steps.Then([&] { return closed; });
    }
  }
  steps.Then([&] { return files.Rename(written, target); }).Then([&] {
    return SyncFolderOf(target, files);
  });
  return ReasonIf(steps.error);
}

std::optional<std::string> ReplaceFileWith(const std::filesystem::path& path,
                                           const std::filesystem::path& written) {
  const std::unique_ptr<FileSystem> files = SystemFileSystem();
  return ReplaceFileWith(path, written, *files);
}

std::optional<std::string> ReplaceFileContents(const std::filesystem::path& path,
                                               std::span<const std::uint8_t> bytes) {
  const std::unique_ptr<FileSystem> files = SystemFileSystem();
  return ReplaceFileContents(path, bytes, *files);
}

std::optional<std::string> ReplaceFileStart(const std::filesystem::path& path,
                                            std::span<const std::uint8_t> bytes,
                                            FileSystem& files) {
  FileFacts old;
  const int inspected = files.Inspect(path, old);
  if (inspected != 0) {
    return Reason(inspected);
  }
  if (!old.exists) {
    return ReplaceFileContents(path, bytes, files);
  }
  if (old.folder) {
    return "it is a folder";
  }
  if (!old.regular) {
    return kNotAPlainFile;
  }
  return OverwriteInPlace(path, bytes, false, files);
}

std::optional<std::string> ReplaceFileStart(const std::filesystem::path& path,
                                            std::span<const std::uint8_t> bytes) {
  const std::unique_ptr<FileSystem> files = SystemFileSystem();
  return ReplaceFileStart(path, bytes, *files);
}

}  // namespace zav
