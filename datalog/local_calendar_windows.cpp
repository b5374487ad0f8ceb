#include <time.h>

#include "datalog/local_calendar.h"

namespace zav {

std::tm LocalCalendar(std::int64_t unixSeconds) {
  const __time64_t time = unixSeconds;
  std::tm local{};
  _localtime64_s(&local, &time);
  return local;
}

}  // namespace zav
