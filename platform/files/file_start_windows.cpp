// Reading a file's first bytes on Windows: the C library's wide-name open keeps every
// character of the path.

#include <cstdio>
#include <memory>

#include "platform/files/file_start.h"

namespace zav {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::filesystem::path& path,
                                                       std::size_t count) {
  const std::unique_ptr<std::FILE, FileCloser> file(::_wfopen(path.c_str(), L"rb"));
  if (file == nullptr) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(count);
  const std::size_t got = std::fread(bytes.data(), 1, count, file.get());
  if (got < count && std::ferror(file.get()) != 0) {
    return std::nullopt;
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace zav
