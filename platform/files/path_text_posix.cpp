// Paths and texts on POSIX: a path is its bytes, so UTF-8 text is its name as it stands.

#include "platform/files/path_text.h"

namespace zav {

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::string(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  return path.native();
}

CFile OpenCFile(const std::filesystem::path& path, const char* mode) {
  return CFile(std::fopen(path.c_str(), mode));
}

}  // namespace zav
