#pragma once
// The main window's status line, composed from one segment per feature and shown at most once
// per poll tick, only when its text changed.

#include <string>

#include "platform/desktop.h"

namespace zav {

struct StatusLine {
  // Each feature fills its own segment; an empty one is left out.
  std::string connection;
  std::string recording;
  std::string upgrade;
  std::string shown;  // the text the window shows now
};

// The non-empty segments in the order connection, recording, upgrade, joined by " · ".
std::string ComposeStatusLine(const StatusLine& line);

// Shows the segments side by side (a host without segments shows the composed text) when
// the composed text differs from what the window shows.
void ShowStatusLine(StatusLine& line, Desktop& desktop, WindowRef window);

}  // namespace zav
