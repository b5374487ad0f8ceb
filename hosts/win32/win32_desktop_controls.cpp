// The template's controls as the program addresses them: texts, bars, sliders, drop-down
// lists and the toolbar, each by its id in a running dialog.
#include "hosts/win32/win32_desktop.h"

#include <windows.h>
//
#include <commctrl.h>

#include "hosts/win32/toolbar_strip.h"
#include "platform/files/wide_text.h"

namespace zav {
namespace {

bool IsButton(HWND control) {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  return lstrcmpiW(className, L"Button") == 0;
}

// Buttons and group boxes take '&' as a mnemonic; the program's texts mean it as it is.
std::wstring ShownText(HWND control, std::string_view text) {
  std::wstring wide = win32::Widen(text);
  if (!IsButton(control)) {
    return wide;
  }
  std::wstring doubled;
  for (const wchar_t unit : wide) {
    doubled += unit == L'&' ? L"&&" : std::wstring(1, unit);
  }
  return doubled;
}

// A caption at the top of its box that needs a second line in the font at hand (wider
// than the template's own) takes the room below it rather than being cut.
void GrowForWrappedCaption(HWND control, const std::wstring& text) {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  if (lstrcmpiW(className, L"Static") != 0 || (style & SS_CENTERIMAGE) != 0 || text.empty()) {
    return;
  }
  RECT box{};
  GetClientRect(control, &box);
  RECT needed = box;
  const HDC context = GetDC(control);
  const HGDIOBJ original =
      SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  DrawTextW(context, text.c_str(), static_cast<int>(text.size()), &needed,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(context, original);
  ReleaseDC(control, context);
  if (needed.bottom > box.bottom) {
    SetWindowPos(control, nullptr, 0, 0, box.right, needed.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

std::wstring WindowTextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

// A control given what it shows already is left alone: each change redraws it, and the poll
// tick sets every live value each time, unchanged ones too (all of them while an upload
// pauses the live values), which under wine cost the upload's ticks their pace.
void Win32Desktop::SetText(WindowRef window, int controlId, std::string_view text) {
  if (const HWND control = Control(window, controlId)) {
    const std::wstring shown = ShownText(control, text);
    if (WindowTextOf(control) == shown) {
      return;
    }
    SetWindowTextW(control, shown.c_str());
    GrowForWrappedCaption(control, shown);
  }
}

std::string Win32Desktop::GetText(WindowRef window, int controlId) {
  const HWND control = Control(window, controlId);
  return control != nullptr ? win32::Narrow(WindowTextOf(control)) : std::string{};
}

void Win32Desktop::SetBarRange(WindowRef window, int controlId, int low, int high) {
  SendMessageW(Control(window, controlId), PBM_SETRANGE32, static_cast<WPARAM>(low), high);
}

void Win32Desktop::SetBarPosition(WindowRef window, int controlId, int position) {
  const HWND bar = Control(window, controlId);
  if (SendMessageW(bar, PBM_GETPOS, 0, 0) != position) {  // as SetText: unchanged, untouched
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }
}

void Win32Desktop::SetBarColour(WindowRef window, int controlId, Colour colour) {
  SendMessageW(Control(window, controlId), PBM_SETBARCOLOR, 0,
               RGB(colour.red, colour.green, colour.blue));
}

void Win32Desktop::SetSliderRange(WindowRef window, int controlId, int low, int high) {
  const HWND slider = Control(window, controlId);
  SendMessageW(slider, TBM_SETRANGEMIN, FALSE, low);
  SendMessageW(slider, TBM_SETRANGEMAX, TRUE, high);
}

void Win32Desktop::SetSliderPosition(WindowRef window, int controlId, int position) {
  SendMessageW(Control(window, controlId), TBM_SETPOS, TRUE, position);
}

int Win32Desktop::GetSliderPosition(WindowRef window, int controlId) {
  return static_cast<int>(SendMessageW(Control(window, controlId), TBM_GETPOS, 0, 0));
}

void Win32Desktop::AddToolbarButtons(WindowRef window, int controlId,
                                     std::span<const ToolbarButton> buttons) {
  if (const HWND toolbar = Control(window, controlId)) {
    win32::AddToolbarButtons(toolbar, buttons);
  }
}

void Win32Desktop::AddListEntry(WindowRef window, int controlId, std::string_view entry) {
  const std::wstring text = win32::Widen(entry);
  SendMessageW(Control(window, controlId), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32Desktop::SelectListEntry(WindowRef window, int controlId, int index) {
  const HWND list = Control(window, controlId);
  const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  SendMessageW(list, CB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
}

int Win32Desktop::SelectedListEntry(WindowRef window, int controlId) {
  const LRESULT selected = SendMessageW(Control(window, controlId), CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

}  // namespace zav
