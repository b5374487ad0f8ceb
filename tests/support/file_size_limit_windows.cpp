#include "tests/support/file_size_limit.h"

namespace zav::testing {

// Windows has no per-process limit on a file's size.
FileSizeLimit::FileSizeLimit(std::uint64_t /*bytes*/) {}
FileSizeLimit::~FileSizeLimit() = default;

}  // namespace zav::testing
