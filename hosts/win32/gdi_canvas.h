#pragma once
// The canvas on GDI: drawing on a dialog's client area through a device context of the
// window (a dialog's, or a canvas control's), with the dialog's font; or on a device context
// given to it (a picture's), with a font given. Pens are made as needed and kept until the
// next colour.

#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "platform/desktop.h"

namespace zav::win32 {

class GdiCanvas final : public Canvas {
 public:
  // `painted`: the parts of the window its WM_PAINT repaints (px); nothing is drawn outside.
  explicit GdiCanvas(HWND window, std::optional<std::vector<PixelBox>> painted = {})
      : window_(window), painted_(std::move(painted)) {}
  // Draws on `context`, which stays the caller's, in `font` (nullptr: the context's own).
  GdiCanvas(HDC context, HFONT font) : given_(context), givenFont_(font) {}
  ~GdiCanvas() override { Release(); }
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  // Starts afresh: black pen of width 1, white fill, black text.
  void Begin();
  // Gives the device context back; the next drawing takes a new one.
  void Release();

  void SetPen(Colour colour) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetTextColour(Colour colour) override;
  void Text(int x, int y, std::string_view text) override;
  void SetPenStyle(int widthPx, LineStyle style) override;
  void Polyline(std::span<const PixelPoint> points) override;
  void FillRectangle(PixelBox box, Colour colour) override;
  PixelSize MeasureText(std::string_view text) override;
  void PlacedText(TextPlace place, std::string_view text) override;
  void ClipTo(PixelBox box) override;
  void Unclip() override;
  bool NeedsPainting(PixelBox box) const override;
  PixelBox PaintedWithin(PixelBox box) const override;

 private:
  HDC Context();
  void ClipToPainted(HDC context) const;
  HPEN MakePen() const;
  void ReplacePen();

  HWND window_ = nullptr;
  std::optional<std::vector<PixelBox>> painted_;
  HDC given_ = nullptr;  // drawn on instead of the window's context when there is no window
  HFONT givenFont_ = nullptr;
  HDC context_ = nullptr;
  HPEN pen_ = nullptr;  // ours, selected into the context
  HGDIOBJ originalPen_ = nullptr;
  HGDIOBJ originalFont_ = nullptr;
  COLORREF penColour_ = RGB(0, 0, 0);
  COLORREF textColour_ = RGB(0, 0, 0);
  int penWidth_ = 1;  // px
  LineStyle penStyle_ = LineStyle::Solid;
};

}  // namespace zav::win32
