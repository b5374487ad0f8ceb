#include "hosts/win32/gdi_canvas.h"

#include <algorithm>
#include <vector>

#include "platform/files/wide_text.h"

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
  penWidth_ = 1;
  penStyle_ = LineStyle::Solid;
}

// A geometric pen, so that a dashed pen may be wider than one pixel; flat ends and mitred
// joins keep a polyline's corners where its points are.
HPEN GdiCanvas::MakePen() const {
  if (penWidth_ <= 1 && penStyle_ == LineStyle::Solid) {
    return CreatePen(PS_SOLID, 1, penColour_);
  }
  LOGBRUSH brush{BS_SOLID, penColour_, 0};
  const DWORD dash = penStyle_ == LineStyle::Dashed ? PS_DASH : PS_SOLID;
  return ExtCreatePen(PS_GEOMETRIC | dash | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                      static_cast<DWORD>(penWidth_ < 1 ? 1 : penWidth_), &brush, 0, nullptr);
}

void GdiCanvas::ReplacePen() {
  if (context_ == nullptr) {
    return;  // the next context starts with it
  }
  const HPEN pen = MakePen();
  SelectObject(context_, pen);
  DeleteObject(pen_);
  pen_ = pen;
}

HDC GdiCanvas::Context() {
  if (context_ != nullptr) {
    return context_;
  }
  context_ = window_ != nullptr ? GetDC(window_) : given_;
  pen_ = MakePen();
  originalPen_ = SelectObject(context_, pen_);
  const auto font = window_ != nullptr
                        ? reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0))
                        : givenFont_;
  originalFont_ = font != nullptr ? SelectObject(context_, font) : nullptr;
  SelectObject(context_, GetStockObject(WHITE_BRUSH));
  SetBkMode(context_, TRANSPARENT);
  SetTextColor(context_, textColour_);
  ClipToPainted(context_);
  return context_;
}

void GdiCanvas::ClipToPainted(HDC context) const {
  SelectClipRgn(context, nullptr);
  if (!painted_) {
    return;
  }
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const PixelBox& part : *painted_) {
    const HRGN box = CreateRectRgn(part.left, part.top, part.right, part.bottom);
    CombineRgn(region, region, box, RGN_OR);
    DeleteObject(box);
  }
  SelectClipRgn(context, region);  // the context keeps a copy
  DeleteObject(region);
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
  if (window_ != nullptr) {
    ReleaseDC(window_, context_);
  }
  context_ = nullptr;
  pen_ = nullptr;
}

void GdiCanvas::SetPen(Colour colour) {
  penColour_ = AsColorRef(colour);
  ReplacePen();
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

void GdiCanvas::SetPenStyle(int widthPx, LineStyle style) {
  penWidth_ = widthPx < 1 ? 1 : widthPx;
  penStyle_ = style;
  ReplacePen();
}

void GdiCanvas::Polyline(std::span<const PixelPoint> points) {
  if (points.size() < 2) {
    return;
  }
  std::vector<POINT> gdiPoints;
  gdiPoints.reserve(points.size());
  for (const PixelPoint point : points) {
    gdiPoints.push_back({point.x, point.y});
  }
  ::Polyline(Context(), gdiPoints.data(), static_cast<int>(gdiPoints.size()));
}

void GdiCanvas::FillRectangle(PixelBox box, Colour colour) {
  const HBRUSH brush = CreateSolidBrush(AsColorRef(colour));
  const RECT rect{box.left, box.top, box.right, box.bottom};
  FillRect(Context(), &rect, brush);
  DeleteObject(brush);
}

PixelSize GdiCanvas::MeasureText(std::string_view text) {
  const std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(Context(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return {size.cx, size.cy};
}

void GdiCanvas::PlacedText(TextPlace place, std::string_view text) {
  const PixelSize size = MeasureText(text);
  const auto offset = [](TextAlign align, int length) {
    return align == TextAlign::Start ? 0 : align == TextAlign::Centre ? length / 2 : length;
  };
  const int x = place.at.x - offset(place.across, size.width);
  const int y = place.at.y - offset(place.down, size.height);
  const std::wstring wide = Widen(text);
  TextOutW(Context(), x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void GdiCanvas::ClipTo(PixelBox box) {
  const HDC context = Context();
  ClipToPainted(context);
  IntersectClipRect(context, box.left, box.top, box.right, box.bottom);
}

void GdiCanvas::Unclip() {
  ClipToPainted(Context());
}

bool GdiCanvas::NeedsPainting(PixelBox box) const {
  return !painted_ || std::any_of(painted_->begin(), painted_->end(),
                                  [&](const PixelBox& part) { return part.Overlaps(box); });
}

PixelBox GdiCanvas::PaintedWithin(PixelBox box) const {
  if (!painted_) {
    return box;
  }
  PixelBox round;  // empty until a part overlaps
  for (const PixelBox& part : *painted_) {
    if (part.Overlaps(box)) {
      round = round.Around(part.Within(box));
    }
  }
  return round;
}

}  // namespace zav::win32
