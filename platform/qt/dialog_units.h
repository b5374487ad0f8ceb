#pragma once
// Dialog units to pixels. Templates are laid out in the base units of "MS Sans Serif" 8 at
// 96 DPI: a horizontal unit is a quarter of a 6-pixel character width, a vertical unit an
// eighth of a 13-pixel character height; fractions of a pixel are dropped. Pixels here are
// device-independent; Qt scales them on larger screens.

#include <QRect>
#include <QSize>

#include "resources/dialog_template.h"

namespace zav::qt {

inline constexpr int kBaseUnitWidthPx = 6;
inline constexpr int kBaseUnitHeightPx = 13;
inline constexpr int kHorizontalUnitsPerBase = 4;
inline constexpr int kVerticalUnitsPerBase = 8;

inline constexpr int HorizontalPixels(int dialogUnits) {
  return dialogUnits * kBaseUnitWidthPx / kHorizontalUnitsPerBase;
}

inline constexpr int VerticalPixels(int dialogUnits) {
  return dialogUnits * kBaseUnitHeightPx / kVerticalUnitsPerBase;
}

inline QRect PixelRect(const DialogRect& rect) {
  return QRect(HorizontalPixels(rect.x), VerticalPixels(rect.y), HorizontalPixels(rect.width),
               VerticalPixels(rect.height));
}

inline QSize PixelSize(const DialogRect& rect) {
  return QSize(HorizontalPixels(rect.width), VerticalPixels(rect.height));
}

}  // namespace zav::qt
