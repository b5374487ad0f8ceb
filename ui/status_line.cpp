#include "ui/status_line.h"

#include <array>

namespace zav {

std::string ComposeStatusLine(const StatusLine& line) {
  std::string text;
  for (const std::string* segment : {&line.connection, &line.recording, &line.upgrade}) {
    if (segment->empty()) {
      continue;
    }
    if (!text.empty()) {
      text += kStatusSeparator;
    }
    text += *segment;
  }
  return text;
}

void ShowStatusLine(StatusLine& line, Desktop& desktop, WindowRef window) {
  std::string text = ComposeStatusLine(line);
  if (text == line.shown) {
    return;
  }
  line.shown = std::move(text);
  const std::array<std::string, 3> segments{line.connection, line.recording, line.upgrade};
  desktop.SetStatusSegments(window, segments);
}

}  // namespace zav
