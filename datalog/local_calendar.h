#pragma once
// The machine's local calendar: the one place that asks the operating system for the zone.

#include <cstdint>
#include <ctime>

namespace zav {

// The local calendar time of `unixSeconds` (s since 1970-01-01 UTC).
std::tm LocalCalendar(std::int64_t unixSeconds);

// How far `local`, the local calendar time of `unixSeconds`, is ahead of UTC (s; negative
// west of Greenwich), daylight saving included.
std::int32_t UtcOffsetSeconds(const std::tm& local, std::int64_t unixSeconds);

}  // namespace zav
