// A canvas control on the Windows host painted in parts, in a real window: two parts asked
// for apart are painted as two (a drawing learns that nothing between them is painted), and
// pixels moved by ScrollPart stay where they moved while only the strip the move uncovered is
// painted again.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>

#include "hosts/win32/win32_desktop.h"

namespace zav {
namespace {

constexpr int kPartsCanvas = 20;
constexpr int kStepTimer = 7;
constexpr std::array<ControlTemplate, 1> kPartsCanvasControl{
    Control(kPartsCanvas, ControlKind::CanvasControl, 4, 4, 160, 80)};
constexpr DialogTemplate kPartsTemplate{
    .id = 9103, .title = "Canvas", .rect = {10, 10, 170, 90}, .controls = kPartsCanvasControl};
constexpr Colour kBarRed{255, 0, 0};
constexpr int kMovePx = 10;

COLORREF ControlPixelAt(HWND control, int x, int y) {
  const HDC context = GetDC(control);
  const COLORREF pixel = GetPixel(context, x, y);
  ReleaseDC(control, context);
  return pixel;
}

TEST(Win32CanvasParts, TwoPartsPaintAsTwoAndMovedPixelsStayWhereTheyMoved) {
  Win32Desktop desktop;
  int barX = 60;  // px: where the drawing puts its red bar
  int ticks = 0;
  PixelSize size;
  bool betweenPainted = true;
  PixelBox paintedAfterMove;
  COLORREF atMovedBar = 0;
  COLORREF whereTheBarWas = 0;
  desktop.RunDialog(
      kPartsTemplate, WindowRef{}, [&](Desktop& d, WindowRef self, const DialogEvent& e) {
        const HWND control = GetDlgItem(desktop.WindowOf(self), kPartsCanvas);
        switch (e.message) {
          case DialogMessage::Init:
            d.SetTimer(self, kStepTimer, 50);
            break;
          case DialogMessage::Paint: {
            Canvas& canvas = d.ControlCanvas(self, kPartsCanvas);
            size = d.ControlSize(self, kPartsCanvas);
            if (ticks == 1) {
              betweenPainted = canvas.NeedsPainting({20, 0, size.width - 20, size.height});
            } else if (ticks == 2) {
              paintedAfterMove = canvas.PaintedWithin({0, 0, size.width, size.height});
            }
            canvas.FillRectangle({barX, 0, barX + 2, size.height}, kBarRed);
            break;
          }
          case DialogMessage::Timer:
            ++ticks;
            if (ticks == 1) {
              d.RedrawPart(self, kPartsCanvas, {0, 0, 10, size.height});
              d.RedrawPart(self, kPartsCanvas, {size.width - 10, 0, size.width, size.height});
            } else if (ticks == 2) {
              barX -= kMovePx;
              d.ScrollPart(self, kPartsCanvas, {0, 0, size.width, size.height}, -kMovePx);
            } else if (ticks == 3) {
              atMovedBar = ControlPixelAt(control, barX, size.height / 2);
              whereTheBarWas = ControlPixelAt(control, barX + kMovePx + 1, size.height / 2);
              d.EndDialog(self, 0);
            }
            break;
          default:
            return false;
        }
        return true;
      });
  ASSERT_GT(size.width, 100);
  EXPECT_FALSE(betweenPainted) << "two strips apart, not the box round them";
  EXPECT_EQ(paintedAfterMove, (PixelBox{size.width - kMovePx, 0, size.width, size.height}))
      << "only what the move uncovered";
  EXPECT_EQ(atMovedBar, RGB(255, 0, 0));
  EXPECT_EQ(whereTheBarWas, RGB(255, 255, 255));
}

}  // namespace
}  // namespace zav
