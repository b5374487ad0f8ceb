#include "datalog/local_time.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <string_view>

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

// `value` in decimal with leading zeros to at least `digits` digits. A row of the log takes
// a time, six times a second: plain digits, not a formatted print.
void AppendDigits(std::string& text, int value, int digits) {
  std::array<char, 16> buffer{};
  const char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  const auto length = static_cast<int>(end - buffer.data());
  if (length < digits) {
    text.append(static_cast<std::size_t>(digits - length), '0');
  }
  text.append(buffer.data(), static_cast<std::size_t>(length));
}

// Fields of the calendar, each with its digits and the separator before it.
struct Field {
  std::string_view before;
  int value;
  int digits;
};

std::string Joined(std::initializer_list<Field> fields) {
  std::string text;
  text.reserve(32);
  for (const Field& field : fields) {
    text += field.before;
    AppendDigits(text, field.value, field.digits);
  }
  return text;
}

}  // namespace

std::string LocalTimeText(std::int64_t unixMs) {
  const Split split = SplitLocal(unixMs);
  const std::tm& t = split.local;
  const std::int32_t offsetMinutes = split.offsetSeconds / 60;
  const int offset = static_cast<int>(offsetMinutes < 0 ? -offsetMinutes : offsetMinutes);
  return Joined({{"", t.tm_year + 1900, 4},
                 {"-", t.tm_mon + 1, 2},
                 {"-", t.tm_mday, 2},
                 {"T", t.tm_hour, 2},
                 {":", t.tm_min, 2},
                 {":", t.tm_sec, 2},
                 {".", split.milliseconds, 3},
                 {offsetMinutes < 0 ? "-" : "+", offset / 60, 2},
                 {":", offset % 60, 2}});
}

std::string LocalClockText(std::int64_t unixMs) {
  const std::tm t = SplitLocal(unixMs).local;
  return Joined({{"", t.tm_hour, 2}, {":", t.tm_min, 2}, {":", t.tm_sec, 2}});
}

std::string LocalStampForFileName(std::int64_t unixMs) {
  const std::tm t = SplitLocal(unixMs).local;
  return Joined({{"", t.tm_year + 1900, 4},
                 {"", t.tm_mon + 1, 2},
                 {"", t.tm_mday, 2},
                 {"-", t.tm_hour, 2},
                 {"", t.tm_min, 2},
                 {"", t.tm_sec, 2}});
}

}  // namespace zav
