#pragma once
// Pictures saved as PNG files on the Windows host: drawn with GDI into a bitmap in memory,
// encoded by the system's imaging component (WIC), and put in place of the file by the file
// layer, so that a save that fails leaves the file it was to replace as it was and nothing
// half-written under its name.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace zav::win32 {

// A picture's pixels, rows from the top, 4 bytes a pixel: blue, green, red and one unused.
struct PicturePixels {
  PixelSize size;  // px
  std::vector<std::uint8_t> bgrx;
};

// `draw` on a white ground of `size` (px; at least 1 by 1) with the text in `font`
// (nullptr: the system's). Empty pixels when the system has no memory for the picture.
PicturePixels DrawPicture(PixelSize size, HFONT font, const std::function<void(Canvas&)>& draw);

// The pixels as the bytes of a PNG file; empty with `failure` saying why when the imaging
// component could not make them.
std::vector<std::uint8_t> EncodePng(const PicturePixels& pixels, std::string& failure);

// Draws the picture and saves it at `path` (UTF-8). Empty when saved; else what went wrong,
// for the fitter.
std::string SavePngPicture(const std::string& path, PixelSize size, HFONT font,
                           const std::function<void(Canvas&)>& draw);

}  // namespace zav::win32
