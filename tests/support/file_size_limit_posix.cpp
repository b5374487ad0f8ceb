#include <sys/resource.h>

#include <csignal>

#include "tests/support/file_size_limit.h"

namespace zav::testing {

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) {
    return;
  }
  savedBytes_ = limit.rlim_cur;
  // Past the limit the system sends SIGXFSZ, which would end the test; ignored, the write
  // fails with EFBIG instead.
  savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  held_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  if (held_ && getrlimit(RLIMIT_FSIZE, &limit) == 0) {
    limit.rlim_cur = savedBytes_;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  if (savedHandler_ != nullptr) {
    std::signal(SIGXFSZ, savedHandler_);
  }
}

}  // namespace zav::testing
