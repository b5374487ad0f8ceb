#include <time.h>

#include "datalog/local_calendar.h"

namespace zav {

std::tm LocalCalendar(std::int64_t unixSeconds) {
  const __time64_t time = unixSeconds;
  std::tm local{};
  _localtime64_s(&local, &time);
  return local;
}

std::int32_t UtcOffsetSeconds(const std::tm& local, std::int64_t unixSeconds) {
  std::tm asUtc = local;
  return static_cast<std::int32_t>(_mkgmtime64(&asUtc) - unixSeconds);
}

}  // namespace zav
