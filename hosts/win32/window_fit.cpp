#include "hosts/win32/window_fit.h"

#include <algorithm>

#include "hosts/win32/dialog_memory.h"

namespace zav::win32 {
namespace {

// The smallest dialog font a window is shrunk to (points): 6-point text at 144 dpi is as
// tall as 9-point text at 96 dpi.
constexpr int kSmallestFontPoints = 6;

RECT WorkAreaNear(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HMONITOR found = window != nullptr
                             ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                             : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  GetMonitorInfoW(found, &monitor);
  return monitor.rcWork;
}

// The dialog base units (pixels) of the dialog font at `points`, as the dialog manager takes
// them: the average width of the 52 letters, and the font's height.
SIZE BaseUnits(int points) {
  const HFONT made = CreateDialogFont(points);
  const HDC screen = GetDC(nullptr);
  const HGDIOBJ before = SelectObject(screen, made);
  constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE letters{};
  GetTextExtentPoint32W(screen, kLetters, 52, &letters);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, before);
  DeleteObject(made);
  ReleaseDC(nullptr, screen);
  return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

// The window's outer size with the font at `points`: its frame, the menu bar, and for a
// window with a menu the status bar below (about a line of text).
SIZE WindowSize(const DialogTemplate& dialog, int points) {
  const SIZE units = BaseUnits(points);
  const bool menu = dialog.menuId != 0;
  RECT box{0, 0, MulDiv(dialog.rect.width, units.cx, 4),
           MulDiv(dialog.rect.height, units.cy, 8) + (menu ? units.cy + units.cy / 2 : 0)};
  AdjustWindowRectEx(&box, DialogStyle(dialog), menu ? TRUE : FALSE, WS_EX_DLGMODALFRAME);
  return SIZE{box.right - box.left, box.bottom - box.top};
}

}  // namespace

HFONT CreateDialogFont(int points) {
  const HDC screen = GetDC(nullptr);
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, kDialogFontName, LF_FACESIZE);
  ReleaseDC(nullptr, screen);
  return CreateFontIndirectW(&font);
}

int FittingFontPoints(const DialogTemplate& dialog, HWND beside) {
  const RECT work = WorkAreaNear(beside);
  for (int points = kDialogFontPoints; points > kSmallestFontPoints; --points) {
    const SIZE size = WindowSize(dialog, points);
    if (size.cx <= work.right - work.left && size.cy <= work.bottom - work.top) {
      return points;
    }
  }
  return kSmallestFontPoints;
}

void KeepWithinWorkArea(HWND window) {
  const RECT work = WorkAreaNear(window);
  RECT box{};
  GetWindowRect(window, &box);
  const LONG left = std::max(work.left, std::min(box.left, work.right - (box.right - box.left)));
  const LONG top = std::max(work.top, std::min(box.top, work.bottom - (box.bottom - box.top)));
  if (left != box.left || top != box.top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CascadeFrom(HWND window, HWND last) {
  if (last == nullptr || !IsWindow(last) || !IsWindowVisible(last)) {
    KeepWithinWorkArea(window);
    return;
  }
  const RECT work = WorkAreaNear(last);
  RECT previous{};
  GetWindowRect(last, &previous);
  RECT box{};
  GetWindowRect(window, &box);
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  LONG left = previous.left + step;
  LONG top = previous.top + step;
  if (left + (box.right - box.left) > work.right || top + (box.bottom - box.top) > work.bottom) {
    left = work.left;
    top = work.top;
  }
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zav::win32
