#include <cstdlib>
#include <ctime>

#include "tests/support/local_zone.h"

namespace zav::testing {

LocalZone::LocalZone(const char* zone) {
  _putenv_s("TZ", zone);
  _tzset();
}

LocalZone::~LocalZone() {
  _putenv_s("TZ", "");  // an empty value removes the variable
  _tzset();
}

}  // namespace zav::testing
