#include <time.h>

#include "datalog/local_calendar.h"

namespace zav {

std::tm LocalCalendar(std::int64_t unixSeconds) {
  const time_t time = static_cast<time_t>(unixSeconds);
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

std::int32_t UtcOffsetSeconds(const std::tm& local, std::int64_t /*unixSeconds*/) {
  return static_cast<std::int32_t>(local.tm_gmtoff);
}

}  // namespace zav
