#include "hosts/win32/toolbar_strip.h"

#include <commctrl.h>
#include <objidl.h>
#include <shlwapi.h>
//
#include <gdiplus.h>

#include <string>

#include "hosts/win32/window_menus.h"
#include "platform/files/wide_text.h"

namespace zav::win32 {
namespace {

// The images' side on the screen (pixels): 16 at 96 dpi, as large in inches at any other.
int ImageSidePx(HWND toolbar) {
  const HDC context = GetDC(toolbar);
  const int dpi = GetDeviceCaps(context, LOGPIXELSX);
  ReleaseDC(toolbar, context);
  return MulDiv(kToolbarImageSize, dpi > 0 ? dpi : 96, 96);
}

// One image of the strip, `sidePx` square, as a 32-bit bitmap with its transparency;
// nullptr when missing.
HBITMAP LoadToolbarImage(int index, int sidePx) {
  const HMODULE program = GetModuleHandleW(nullptr);
  const HRSRC found =
      FindResourceW(program, MAKEINTRESOURCEW(kToolbarImageResource + index), RT_RCDATA);
  if (found == nullptr) {
    return nullptr;
  }
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(program, found)));
  IStream* stream = SHCreateMemStream(bytes, SizeofResource(program, found));
  if (stream == nullptr) {
    return nullptr;
  }
  HBITMAP bitmap = nullptr;
  {
    Gdiplus::Bitmap image(stream);
    Gdiplus::Bitmap scaled(sidePx, sidePx, PixelFormat32bppPARGB);
    Gdiplus::Graphics drawing(&scaled);
    drawing.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    drawing.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    drawing.DrawImage(&image, 0, 0, sidePx, sidePx);
    scaled.GetHBITMAP(Gdiplus::Color(0, 0, 0, 0), &bitmap);
  }
  stream->Release();
  return bitmap;
}

HIMAGELIST ToolbarImages(int sidePx) {
  ULONG_PTR token = 0;
  const Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  const HIMAGELIST images = ImageList_Create(sidePx, sidePx, ILC_COLOR32, kToolbarImageCount, 0);
  for (int index = 0; index < kToolbarImageCount; ++index) {
    if (const HBITMAP bitmap = LoadToolbarImage(index, sidePx)) {
      ImageList_Add(images, bitmap, nullptr);
      DeleteObject(bitmap);
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return images;
}

}  // namespace

void AddToolbarButtons(HWND toolbar, std::span<const ToolbarButton> buttons) {
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0) == 0) {
    // The list goes with the program; a toolbar is made once per window.
    SendMessageW(toolbar, TB_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(ToolbarImages(ImageSidePx(toolbar))));
  }
  for (const ToolbarButton& button : buttons) {
    TBBUTTON entry{};
    entry.iBitmap = button.image;
    entry.idCommand = button.commandId;
    entry.fsState = TBSTATE_ENABLED;
    entry.fsStyle = BTNS_BUTTON;
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&entry));
  }
}

bool FillToolbarTip(LPARAM notice) {
  auto* tip = reinterpret_cast<NMTTDISPINFOW*>(notice);
  if (tip->hdr.code != TTN_GETDISPINFOW) {
    return false;
  }
  const std::wstring text = Widen(ToolbarTipOf(static_cast<int>(tip->hdr.idFrom)));
  lstrcpynW(tip->szText, text.c_str(), static_cast<int>(std::size(tip->szText)));
  tip->lpszText = tip->szText;
  return true;
}

}  // namespace zav::win32
