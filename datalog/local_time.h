#pragma once
// Wall-clock times as a log writes them: ISO 8601 in the machine's local time, with ms.

#include <cstdint>
#include <string>

namespace zav {

// "2026-12-08T15:04:05.123+01:00" for `unixMs` (ms since 1970-01-01 UTC) in local time,
// with the zone's offset from UTC then, so a log read elsewhere (or across the change to
// daylight saving) still says when each row was taken.
std::string LocalTimeText(std::int64_t unixMs);

// "15:04:05", the time of day alone, for what the window says happened today.
std::string LocalClockText(std::int64_t unixMs);

// "20261208-150405", for file names.
std::string LocalStampForFileName(std::int64_t unixMs);

}  // namespace zav
