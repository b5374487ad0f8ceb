// Paths and texts on Windows: a path is UTF-16, converted here from and to UTF-8 by the
// system. The conversions never throw, unlike the standard library's for a name that is
// not valid UTF-8.

#include <windows.h>
//
#include <cstdio>

#include "platform/files/path_text.h"

namespace zav {

namespace {

std::wstring WideOf(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int wideSize = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), wideSize);
  return wide;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(WideOf(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) {
    return {};
  }
  const int size = static_cast<int>(wide.size());
  const int narrowSize =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(narrowSize), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, narrow.data(), narrowSize, nullptr, nullptr);
  return narrow;
}

CFile OpenCFile(const std::filesystem::path& path, const char* mode) {
  return CFile(::_wfopen(path.c_str(), WideOf(mode).c_str()));
}

}  // namespace zav
