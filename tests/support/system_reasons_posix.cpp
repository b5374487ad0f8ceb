#include "tests/support/system_reasons.h"

namespace zav::testing {

std::string ParentIsAFileReason() {
  return "Not a directory";
}

}  // namespace zav::testing
