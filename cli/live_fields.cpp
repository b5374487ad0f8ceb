#include "cli/live_fields.h"

#include <cctype>

namespace zav::cli {

std::string KeyOf(const ShownColumn& column) {
  std::string key;
  for (const char character : column.caption) {
    if (character == ' ') {
      key += '_';
    } else if (character != '.') {
      key += static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
  }
  return key;
}

LiveSample SampleOf(const LiveValueTable& live, std::uint16_t status) {
  LiveSample sample;
  sample.values = live.values;
  sample.statusKnown = true;
  sample.status = status;
  return sample;
}

}  // namespace zav::cli
