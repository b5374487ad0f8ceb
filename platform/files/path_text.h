#pragma once
// The program's texts are UTF-8, and so are the file names it shows, asks for and takes from
// the command line; the system's paths are bytes on POSIX and UTF-16 on Windows. Every text
// that becomes a path, and every path that becomes a text, passes through here: a path made
// straight from a std::string, or read back with .string(), is in the ANSI code page on
// Windows and loses the letters that page lacks.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace zav {

// The path named by `text`, UTF-8. On POSIX its bytes as they are (a name that is not valid
// UTF-8 stays reachable); on Windows, a byte sequence that is not UTF-8 becomes U+FFFD.
std::filesystem::path PathFromUtf8(std::string_view text);

// The path's name as UTF-8 text (on POSIX its bytes as they are).
std::string Utf8FromPath(const std::filesystem::path& path);

struct CFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

// std::fopen for a path, every character of its name kept; `mode` as fopen's ("rb", "wb").
// Null when it cannot be opened, with errno set.
CFile OpenCFile(const std::filesystem::path& path, const char* mode);

}  // namespace zav
