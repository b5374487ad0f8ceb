#include "hosts/win32/status_bar.h"
#include "hosts/win32/window_fit.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/files/wide_text.h"

namespace zav::win32 {
namespace {

constexpr int kPaddingPx = 12;  // the bar's own margins around a segment's text and its edge

int TextWidth(HWND bar, const std::wstring& text) {
  const HDC context = GetDC(bar);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
  const HGDIOBJ original =
      SelectObject(context, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(context, original);
  ReleaseDC(bar, context);
  return size.cx + kPaddingPx;
}

}  // namespace

void StatusBar::Create(HWND window) {
  bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS, 0, 0, 0,
                         0, window, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bar_, WM_SETFONT, SendMessageW(window, WM_GETFONT, 0, 0), FALSE);
  RECT barBox{};
  SendMessageW(bar_, WM_SIZE, 0, 0);
  GetWindowRect(bar_, &barBox);
  RECT windowBox{};
  GetWindowRect(window, &windowBox);
  SetWindowPos(window, nullptr, 0, 0, windowBox.right - windowBox.left,
               windowBox.bottom - windowBox.top + (barBox.bottom - barBox.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  KeepWithinWorkArea(window);  // grown by the bar, it may reach below the work area
  SendMessageW(bar_, WM_SIZE, 0, 0);
}

void StatusBar::SetSegments(HWND window, std::span<const std::string> segments) {
  if (bar_ == nullptr) {
    Create(window);
  }
  texts_.clear();
  for (const std::string& segment : segments) {
    if (!segment.empty()) {
      texts_.push_back(Widen(segment));
    }
  }
  Lay();
}

void StatusBar::Fit() {
  if (bar_ != nullptr) {
    SendMessageW(bar_, WM_SIZE, 0, 0);
    Lay();
  }
}

// Each segment as wide as its text while all fit; else each gets its share of the width.
void StatusBar::Lay() {
  RECT box{};
  GetClientRect(bar_, &box);
  const int room = std::max(1, static_cast<int>(box.right - box.left));
  std::vector<int> widths;
  int total = 0;
  for (const std::wstring& text : texts_) {
    widths.push_back(TextWidth(bar_, text));
    total += widths.back();
  }
  std::vector<int> edges;  // right edges; -1 reaches the bar's end
  int edge = 0;
  for (std::size_t index = 0; index < widths.size(); ++index) {
    const int width = total <= room ? widths[index] : widths[index] * room / std::max(1, total);
    edge += width;
    edges.push_back(index + 1 == widths.size() ? -1 : edge);
  }
  if (edges.empty()) {
    edges.push_back(-1);
  }
  SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t index = 0; index < edges.size(); ++index) {
    const wchar_t* text = index < texts_.size() ? texts_[index].c_str() : L"";
    SendMessageW(bar_, SB_SETTEXTW, index, reinterpret_cast<LPARAM>(text));
    // Shown by the bar when the segment is cut.
    SendMessageW(bar_, SB_SETTIPTEXTW, index, reinterpret_cast<LPARAM>(text));
  }
}

}  // namespace zav::win32
