#pragma once
// Replacing a file's contents so that nothing is lost: a power cut or a failure at any
// moment leaves either the old contents or the new ones, never an empty or half-written
// file, wherever the system allows it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "platform/files/file_system.h"

namespace zav {

// Makes `bytes` the whole contents of `path`. The bytes go into a new file beside the file
// they replace, are flushed to the disk, and the new file is renamed over the old one; then
// the folder is flushed, so the rename survives a power cut too.
// - An existing file's permission bits are kept, and its owner and group where the process
//   may set them.
// - When `path` is a symbolic link, the file it leads to is replaced and the link stays.
// - When no new file can be created in the folder, an existing file is overwritten in
//   place instead: the new bytes over the old ones first, then the file is cut to their
//   length, so its old contents are not given up before the new ones are written.
// Nothing on success, else the reason for the user ("Permission denied", "it is a folder").
std::optional<std::string> ReplaceFileContents(const std::filesystem::path& path,
                                               std::span<const std::uint8_t> bytes);
std::optional<std::string> ReplaceFileContents(const std::filesystem::path& path,
                                               std::span<const std::uint8_t> bytes,
                                               FileSystem& files);

// The file a replace of `path` writes: `path` itself, or the file its symbolic links lead
// to. A file written first to take its place belongs beside this one, on the same file
// system, so that a rename can put it there.
std::filesystem::path ReplacedFileOf(const std::filesystem::path& path);

// Makes `written`, a whole file already flushed and closed beside ReplacedFileOf(path), the
// file at `path`, as ReplaceFileContents does with its new file: an existing file's
// permission bits (owner and group where the process may set them) are taken over, a
// symbolic link at `path` stays, and the folder is flushed after the rename. On failure
// `written` is left as it is and so is the file at `path`. Nothing on success, else the
// reason.
std::optional<std::string> ReplaceFileWith(const std::filesystem::path& path,
                                           const std::filesystem::path& written);
std::optional<std::string> ReplaceFileWith(const std::filesystem::path& path,
                                           const std::filesystem::path& written, FileSystem& files);

// Writes `bytes` over the start of the existing file `path`, in place, keeping everything
// beyond them and the file's length, and flushes them to the disk. When there is no file,
// one holding just `bytes` is created as ReplaceFileContents does. Nothing on success, else
// the reason.
std::optional<std::string> ReplaceFileStart(const std::filesystem::path& path,
                                            std::span<const std::uint8_t> bytes);
std::optional<std::string> ReplaceFileStart(const std::filesystem::path& path,
                                            std::span<const std::uint8_t> bytes, FileSystem& files);

}  // namespace zav
