#include <cstdlib>
#include <ctime>

#include "tests/support/local_zone.h"

namespace zav::testing {

LocalZone::LocalZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

LocalZone::~LocalZone() {
  unsetenv("TZ");
  tzset();
}

}  // namespace zav::testing
