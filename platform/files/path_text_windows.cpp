// Paths and texts on Windows: a path is UTF-16, converted here from and to UTF-8 by the
// system. The conversions never throw, unlike the standard library's for a name that is
// not valid UTF-8.

#include <cstdio>

#include "platform/files/path_text.h"
#include "platform/files/wide_text.h"

namespace zav {

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(win32::Widen(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  return win32::Narrow(path.native());
}

CFile OpenCFile(const std::filesystem::path& path, const char* mode) {
  return CFile(::_wfopen(path.c_str(), win32::Widen(mode).c_str()));
}

}  // namespace zav
