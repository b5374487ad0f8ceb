#include "texts/captions.h"

namespace zav {

namespace {
constexpr std::size_t kMaxCaptionLength = 63;  // characters
}

void AssignCaptions(Desktop& desktop, WindowRef window, std::string_view list, int first,
                    int last) {
  std::size_t position = 0;
  for (int id = first; id <= last; ++id) {
    std::size_t end = list.find('*', position);
    if (end == std::string_view::npos) {
      end = list.size();
    }
    const std::size_t length = std::min(end - position, kMaxCaptionLength);
    desktop.SetText(window, id, list.substr(position, length));
    // Past the caption and its '*' (a cut caption goes on from where it was cut).
    position = std::min(position + length + 1, list.size());
  }
}

}  // namespace zav
