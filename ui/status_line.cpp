#include "ui/status_line.h"

#include <array>

#include "texts/joiner.h"

namespace zav {

std::string ComposeStatusLine(const StatusLine& line) {
  return JoinNonEmpty({line.connection, line.recording, line.upgrade});
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
