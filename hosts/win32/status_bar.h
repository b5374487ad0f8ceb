#pragma once
// The status line under a window's controls: a status bar in segments side by side, each
// cut on its own when the window is narrow and showing its whole text as tooltip then. The
// window grows by the bar's height when it first appears; nothing of the template moves.

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace zav::win32 {

class StatusBar {
 public:
  // Makes the bar on first use.
  void SetSegments(HWND window, std::span<const std::string> segments);
  // The window's size changed: the bar follows its bottom edge and the segments share its width.
  void Fit();
  HWND Bar() const { return bar_; }

 private:
  void Create(HWND window);
  void Lay();

  HWND bar_ = nullptr;
  std::vector<std::wstring> texts_;  // the non-empty segments
};

}  // namespace zav::win32
