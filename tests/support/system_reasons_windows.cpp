#include "tests/support/system_reasons.h"

namespace zav::testing {

// Windows finds no such path rather than a file where a folder should be.
std::string ParentIsAFileReason() {
  return "No such file or directory";
}

}  // namespace zav::testing
