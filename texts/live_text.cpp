#include "texts/live_text.h"

#include <array>
#include <charconv>

#include "link/wire.h"

namespace zav {

namespace {

// One step of an injection time: 0.5 us, held in single precision as the controller's
// unit has always been scaled.
constexpr float kMillisecondsPerStep = 0.0005f;

}  // namespace

std::string InjectionTimeText(std::uint16_t value) {
  const double milliseconds = value * static_cast<double>(kMillisecondsPerStep);
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), milliseconds,
                                    std::chars_format::fixed, 2);
  return std::string(text.data(), result.ptr);
}

std::string_view StatusText(std::uint16_t status) {
  switch (status) {
    case kStatusGas:
      return "Gas";
    case kStatusPetrol:
      return "Petrol";
    case kStatusPreheat:
      return "Preheat";
    case kStatusLowRpm:
      return "Low RPM";
    case kStatusFlushing:
      return "Flushing";
    case kStatusDelay:
      return "Delay";
    default:
      return "Not connect";
  }
}

}  // namespace zav
