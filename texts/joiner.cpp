#include "texts/joiner.h"

namespace zav {

std::string JoinNonEmpty(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) {
    if (part.empty()) {
      continue;
    }
    if (!text.empty()) {
      text += kJoiner;
    }
    text += part;
  }
  return text;
}

}  // namespace zav
