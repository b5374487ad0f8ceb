#include "cli/live_fields.h"

#include "ui/live_display.h"

namespace zav::cli {

std::uint16_t RawValue(const LiveValueTable& live, const LiveField& field) {
  return live.values[static_cast<std::size_t>(field.address - kFirstLiveRegister)];
}

std::string ShownValue(const LiveValueTable& live, const LiveField& field) {
  const std::uint16_t raw = RawValue(live, field);
  return field.injectionTime ? InjectionTimeText(raw) : std::to_string(raw);
}

}  // namespace zav::cli
