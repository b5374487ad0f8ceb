#include "datalog/local_time.h"

#include <array>
#include <cstdio>

#include "datalog/local_calendar.h"

namespace zav {

namespace {

struct Split {
  std::tm local{};
  int milliseconds = 0;
  std::int32_t offsetSeconds = 0;  // ahead of UTC
};

Split SplitLocal(std::int64_t unixMs) {
  std::int64_t seconds = unixMs / 1000;
  int milliseconds = static_cast<int>(unixMs % 1000);
  if (milliseconds < 0) {
    milliseconds += 1000;
    --seconds;
  }
  const std::tm local = LocalCalendar(seconds);
  return Split{local, milliseconds, UtcOffsetSeconds(local, seconds)};
}

}  // namespace

std::string LocalTimeText(std::int64_t unixMs) {
  const Split split = SplitLocal(unixMs);
  const std::tm& t = split.local;
  const std::int32_t offsetMinutes = split.offsetSeconds / 60;
  const int offset = static_cast<int>(offsetMinutes < 0 ? -offsetMinutes : offsetMinutes);
  std::array<char, 80> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d",
                t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                split.milliseconds, offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return text.data();
}

std::string LocalClockText(std::int64_t unixMs) {
  const std::tm t = SplitLocal(unixMs).local;
  std::array<char, 40> text{};
  std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return text.data();
}

std::string LocalStampForFileName(std::int64_t unixMs) {
  const std::tm t = SplitLocal(unixMs).local;
  std::array<char, 80> text{};
  std::snprintf(text.data(), text.size(), "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return text.data();
}

}  // namespace zav
