#include "ui/status_line.h"

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
  desktop.SetStatusLine(window, line.shown);
}

}  // namespace zav
