#include "hosts/win32/gdi_canvas.h"

#include "hosts/win32_core/wide_text.h"

namespace zav::win32 {
namespace {

COLORREF AsColorRef(Colour colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

}  // namespace

void GdiCanvas::Begin() {
  Release();
  penColour_ = RGB(0, 0, 0);
  textColour_ = RGB(0, 0, 0);
}

HDC GdiCanvas::Context() {
  if (context_ != nullptr) {
    return context_;
  }
  context_ = GetDC(window_);
  pen_ = CreatePen(PS_SOLID, 1, penColour_);
  originalPen_ = SelectObject(context_, pen_);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
  originalFont_ = font != nullptr ? SelectObject(context_, font) : nullptr;
  SelectObject(context_, GetStockObject(WHITE_BRUSH));
  SetBkMode(context_, TRANSPARENT);
  SetTextColor(context_, textColour_);
  return context_;
}

void GdiCanvas::Release() {
  if (context_ == nullptr) {
    return;
  }
  SelectObject(context_, originalPen_);
  if (originalFont_ != nullptr) {
    SelectObject(context_, originalFont_);
  }
  DeleteObject(pen_);
  ReleaseDC(window_, context_);
  context_ = nullptr;
  pen_ = nullptr;
}

void GdiCanvas::SetPen(Colour colour) {
  penColour_ = AsColorRef(colour);
  if (context_ == nullptr) {
    return;  // the next context starts with it
  }
  const HPEN pen = CreatePen(PS_SOLID, 1, penColour_);
  SelectObject(context_, pen);
  DeleteObject(pen_);
  pen_ = pen;
}

void GdiCanvas::Rectangle(int left, int top, int right, int bottom) {
  ::Rectangle(Context(), left, top, right, bottom);
}

void GdiCanvas::MoveTo(int x, int y) {
  MoveToEx(Context(), x, y, nullptr);
}

void GdiCanvas::LineTo(int x, int y) {
  ::LineTo(Context(), x, y);
}

void GdiCanvas::SetTextColour(Colour colour) {
  textColour_ = AsColorRef(colour);
  if (context_ != nullptr) {
    SetTextColor(context_, textColour_);
  }
}

void GdiCanvas::Text(int x, int y, std::string_view text) {
  const std::wstring wide = Widen(text);
  TextOutW(Context(), x, y, wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace zav::win32
