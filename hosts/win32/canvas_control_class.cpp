#include "hosts/win32/canvas_control_class.h"

#include <windowsx.h>

#include <array>
#include <cstddef>
#include <optional>

#include "platform/desktop.h"

namespace zav::win32 {
namespace {

struct KeyName {
  WPARAM virtualKey;
  Key key;
};
constexpr std::array<KeyName, 8> kKeys{{{VK_LEFT, Key::Left},
                                        {VK_RIGHT, Key::Right},
                                        {VK_UP, Key::Up},
                                        {VK_DOWN, Key::Down},
                                        {VK_PRIOR, Key::PageUp},
                                        {VK_NEXT, Key::PageDown},
                                        {VK_HOME, Key::Home},
                                        {VK_END, Key::End}}};

std::optional<Key> KeyOf(WPARAM virtualKey) {
  for (const KeyName& name : kKeys) {
    if (name.virtualKey == virtualKey) {
      return name.key;
    }
  }
  return std::nullopt;
}

// `painted`: with a Paint, the parts of the control it repaints.
void Tell(HWND control, DialogEvent event, const PaintedParts* painted = nullptr) {
  event.id = GetDlgCtrlID(control);
  SendMessageW(GetParent(control), kCanvasControlEvent, reinterpret_cast<WPARAM>(painted),
               reinterpret_cast<LPARAM>(&event));
}

// The rectangles of the window's update region, before BeginPaint empties it.
PaintedParts UpdateParts(HWND control) {
  PaintedParts parts;
  const HRGN update = CreateRectRgn(0, 0, 0, 0);
  if (GetUpdateRgn(control, update, FALSE) > NULLREGION) {
    const DWORD bytes = GetRegionData(update, 0, nullptr);
    std::vector<std::byte> data(bytes);
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    if (bytes > 0 && GetRegionData(update, bytes, region) == bytes) {
      const auto* rects = reinterpret_cast<const RECT*>(region->Buffer);
      for (DWORD i = 0; i < region->rdh.nCount; ++i) {
        parts.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
      }
    }
  }
  DeleteObject(update);
  return parts;
}

// The white ground first, then the procedure draws through the control's canvas.
void Paint(HWND control) {
  PaintedParts parts = UpdateParts(control);
  PAINTSTRUCT paint{};
  const HDC context = BeginPaint(control, &paint);
  if (parts.empty()) {  // a paint without an update region (WM_PRINTCLIENT and the like)
    parts.push_back(
        {paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom});
  }
  FillRect(context, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  Tell(control, {DialogMessage::Paint, 0, 0}, &parts);
  EndPaint(control, &paint);
}

// Wheel turns count in notches (WHEEL_DELTA each); a fine wheel's parts add up.
void Wheel(HWND control, int delta) {
  static_assert(WHEEL_DELTA == 120);
  auto rest = static_cast<int>(GetWindowLongPtrW(control, GWLP_USERDATA)) + delta;
  const int notches = rest / WHEEL_DELTA;
  rest -= notches * WHEEL_DELTA;
  SetWindowLongPtrW(control, GWLP_USERDATA, rest);
  if (notches != 0) {
    Tell(control, {DialogMessage::Wheel, 0, notches});
  }
}

LRESULT CALLBACK CanvasControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(control);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the ground itself
    case WM_SIZE:
      Tell(control, {DialogMessage::Resize, 0, 0});
      return 0;
    case WM_MOUSEWHEEL:
      Wheel(control, GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(control);
      Tell(control, {DialogMessage::Click, 0, 0, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}});
      return 0;
    case WM_KEYDOWN:
      if (const std::optional<Key> key = KeyOf(wParam)) {
        Tell(control, {DialogMessage::Key, 0, static_cast<int>(*key)});
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;  // Tab, Escape and Enter stay the dialog's
    case WM_GETFONT:
      return SendMessageW(GetParent(control), WM_GETFONT, 0, 0);  // text in the dialog's font
    default:
      break;
  }
  return DefWindowProcW(control, message, wParam, lParam);
}

}  // namespace

void RegisterCanvasControlClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kCanvasControlClass, &existing)) {
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = CanvasControlProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kCanvasControlClass;
  RegisterClassExW(&windowClass);
}

}  // namespace zav::win32
