#pragma once
// The machine's local calendar: the one place that asks the operating system for the zone.

#include <cstdint>
#include <ctime>

namespace zav {

// The local calendar time of `unixSeconds` (s since 1970-01-01 UTC).
std::tm LocalCalendar(std::int64_t unixSeconds);

}  // namespace zav
