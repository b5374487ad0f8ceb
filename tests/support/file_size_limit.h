#pragma once
// For tests of writes that fail half-way: while a FileSizeLimit lives, the process may write
// no more than the given number of bytes to a file (root included), and a write past it
// fails as on a full disk. Where the system has no such limit, Held() is false and the test
// skips.

#include <cstdint>

namespace zav::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool Held() const { return held_; }

 private:
  bool held_ = false;
  std::uint64_t savedBytes_ = 0;  // the limit before, given back at the end
  void (*savedHandler_)(int) = nullptr;
};

}  // namespace zav::testing
