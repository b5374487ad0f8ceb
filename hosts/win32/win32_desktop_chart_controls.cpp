// The controls charts use: canvas controls, check boxes, horizontal scroll bars and
// read-only tables, each by its id in a running dialog; and their pictures saved as PNG.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hosts/win32/dialog_memory.h"
#include "hosts/win32/png_picture.h"
#include "hosts/win32/win32_desktop.h"
#include "hosts/win32/window_fit.h"
#include "platform/files/wide_text.h"

namespace zav {
namespace {

// Where a scroll request moves the bar; Windows keeps it within its range.
int MovedPosition(const SCROLLINFO& info, int request, int tracked) {
  const int line = info.nPage >= 10 ? static_cast<int>(info.nPage) / 10 : 1;
  const int page = info.nPage >= 1 ? static_cast<int>(info.nPage) : 1;
  switch (request) {
    case SB_LINELEFT:
      return info.nPos - line;
    case SB_LINERIGHT:
      return info.nPos + line;
    case SB_PAGELEFT:
      return info.nPos - page;
    case SB_PAGERIGHT:
      return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return tracked;
    case SB_LEFT:
      return info.nMin;
    case SB_RIGHT:
      return info.nMax;
    default:
      return info.nPos;
  }
}

ScrollCode CodeOf(int request) {
  switch (request) {
    case SB_LINELEFT:
      return ScrollCode::LineBack;
    case SB_LINERIGHT:
      return ScrollCode::LineOn;
    case SB_PAGELEFT:
      return ScrollCode::PageBack;
    case SB_PAGERIGHT:
      return ScrollCode::PageOn;
    case SB_THUMBTRACK:
      return ScrollCode::ThumbTrack;
    case SB_LEFT:
      return ScrollCode::ToStart;
    case SB_RIGHT:
      return ScrollCode::ToEnd;
    default:
      return ScrollCode::ThumbPosition;
  }
}

// The tab stops that line a table's columns up: each column as wide as its widest text in
// the control's font, and two average characters more. Edit controls take tab stops in
// quarters of the font's average character width.
std::vector<int> ColumnTabStops(HWND control, const TableText& table) {
  const HDC context = GetDC(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  const HGDIOBJ before =
      SelectObject(context, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(context, &metrics);
  const int averagePx = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
  std::vector<int> widthsPx;  // the widest text of each column but the last
  const auto measure = [&](const std::vector<std::string>& cells) {
    for (std::size_t column = 0; column + 1 < cells.size(); ++column) {
      const std::wstring text = win32::Widen(cells[column]);
      SIZE size{};
      GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
      widthsPx.resize(std::max(widthsPx.size(), column + 1), 0);
      widthsPx[column] = std::max(widthsPx[column], static_cast<int>(size.cx));
    }
  };
  measure(table.headings);
  for (const std::vector<std::string>& row : table.rows) {
    measure(row);
  }
  SelectObject(context, before);
  ReleaseDC(control, context);
  std::vector<int> stops;
  int edgePx = 0;
  for (const int widthPx : widthsPx) {
    edgePx += widthPx + 2 * averagePx;
    stops.push_back((edgePx * 4 + averagePx - 1) / averagePx);
  }
  return stops;
}

}  // namespace

// A scroll bar control does not move by itself: it takes its new position here, then the
// dialog hears of it. SB_ENDSCROLL is not passed on.
bool Win32Desktop::HandleHorizontalScroll(win32::OpenDialog& dialog, WPARAM wParam, LPARAM lParam) {
  const auto bar = reinterpret_cast<HWND>(lParam);
  const int request = LOWORD(wParam);
  if (bar == nullptr || request == SB_ENDSCROLL) {
    return false;
  }
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &info);
  info.fMask = SIF_POS;
  info.nPos = MovedPosition(info, request, info.nTrackPos);
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  Deliver(dialog,
          {DialogMessage::HorizontalScroll, GetDlgCtrlID(bar), static_cast<int>(CodeOf(request))});
  return true;
}

void Win32Desktop::SetTitle(WindowRef window, std::string_view title) {
  if (const HWND dialog = WindowOf(window); dialog != nullptr) {
    SetWindowTextW(dialog, win32::Widen(title).c_str());
  }
}

void Win32Desktop::ShowControl(WindowRef window, int controlId, bool shown) {
  if (const HWND control = Control(window, controlId); control != nullptr) {
    ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
  }
}

void Win32Desktop::EnableControl(WindowRef window, int controlId, bool enabled) {
  if (const HWND control = Control(window, controlId); control != nullptr) {
    EnableWindow(control, enabled ? TRUE : FALSE);
  }
}

Canvas& Win32Desktop::ControlCanvas(WindowRef window, int controlId) {
  const HWND control = Control(window, controlId);
  if (control == nullptr || control != painting_) {
    return CanvasOf(WindowRef{});  // draws nowhere
  }
  controlCanvas_ = std::make_unique<win32::GdiCanvas>(control, paintedParts_);
  controlCanvas_->Begin();
  return *controlCanvas_;
}

void Win32Desktop::Redraw(WindowRef window, int controlId) {
  if (const HWND control = Control(window, controlId); control != nullptr) {
    InvalidateRect(control, nullptr, FALSE);  // many asks, one WM_PAINT
  }
}

void Win32Desktop::RedrawPart(WindowRef window, int controlId, PixelBox part) {
  if (const HWND control = Control(window, controlId); control != nullptr) {
    const RECT box{part.left, part.top, part.right, part.bottom};
    InvalidateRect(control, &box, FALSE);
  }
}

void Win32Desktop::ScrollPart(WindowRef window, int controlId, PixelBox box, int dx) {
  if (const HWND control = Control(window, controlId); control != nullptr) {
    // The window's pixels move at once; the uncovered part (and any part waiting for its
    // WM_PAINT, moved with them) is invalidated.
    const RECT moved{box.left, box.top, box.right, box.bottom};
    ScrollWindowEx(control, dx, 0, &moved, &moved, nullptr, nullptr, SW_INVALIDATE);
  }
}

PixelSize Win32Desktop::ControlSize(WindowRef window, int controlId) {
  RECT client{};
  if (const HWND control = Control(window, controlId); control != nullptr) {
    GetClientRect(control, &client);
  }
  return {client.right - client.left, client.bottom - client.top};
}

void Win32Desktop::SetChecked(WindowRef window, int controlId, bool checked) {
  if (const HWND control = Control(window, controlId); control != nullptr) {
    SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

bool Win32Desktop::IsChecked(WindowRef window, int controlId) {
  const HWND control = Control(window, controlId);
  return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The handle's start runs low..high; Windows counts the range to the handle's far end.
void Win32Desktop::SetScrollBar(WindowRef window, int controlId, ScrollBarState state) {
  const HWND control = Control(window, controlId);
  if (control == nullptr) {
    return;
  }
  const int page = state.page < 1 ? 1 : state.page;
  SCROLLINFO info{sizeof(SCROLLINFO),
                  SIF_ALL | SIF_DISABLENOSCROLL,
                  state.low,
                  state.high + page - 1,
                  static_cast<UINT>(page),
                  state.position,
                  0};
  SetScrollInfo(control, SB_CTL, &info, TRUE);
}

int Win32Desktop::GetScrollPosition(WindowRef window, int controlId) {
  const HWND control = Control(window, controlId);
  if (control == nullptr) {
    return 0;
  }
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(control, SB_CTL, &info);
  return info.nPos;
}

// The headings, then a line per row, the cells parted by tabs.
void Win32Desktop::SetTable(WindowRef window, int controlId, const TableText& table) {
  const HWND control = Control(window, controlId);
  if (control == nullptr) {
    return;
  }
  const auto line = [](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      text += (i == 0 ? "" : "\t") + cells[i];
    }
    return text + "\r\n";
  };
  std::string text = line(table.headings);
  for (const std::vector<std::string>& row : table.rows) {
    text += line(row);
  }
  std::vector<int> stops = ColumnTabStops(control, table);
  SendMessageW(control, EM_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
  SetWindowTextW(control, win32::Widen(text).c_str());
}

// In the font of the window the picture is saved from (the active one, else the innermost),
// as the chart measured its texts on the screen; in the dialog font when none is open.
std::string Win32Desktop::SavePicture(const std::string& path, PixelSize size,
                                      const std::function<void(Canvas&)>& draw) {
  HWND from = open_.empty() ? nullptr : open_.back()->window;
  const HWND active = GetActiveWindow();
  for (const win32::OpenDialog* dialog : open_) {
    from = dialog->window == active ? active : from;
  }
  const HFONT font =
      from != nullptr ? reinterpret_cast<HFONT>(SendMessageW(from, WM_GETFONT, 0, 0)) : nullptr;
  const HFONT made = font == nullptr ? win32::CreateDialogFont(win32::kDialogFontPoints) : nullptr;
  const std::string failure =
      win32::SavePngPicture(path, size, made != nullptr ? made : font, draw);
  if (made != nullptr) {
    DeleteObject(made);
  }
  return failure;
}

}  // namespace zav
