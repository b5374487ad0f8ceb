#pragma once
// Dialog units to pixels. Templates are laid out in the base units of "MS Sans Serif" 8 at
// 96 DPI: a horizontal unit is a quarter of a 6-pixel character width, a vertical unit an
// eighth of a 13-pixel character height; each result is rounded to the nearest pixel, halves
// away from zero, as the platform's own conversion (MulDiv) does. Pixels here are
// device-independent; Qt scales them on larger screens.

#include <QRect>
#include <QSize>

#include "resources/dialog_template.h"

namespace zav::qt {

inline constexpr int kBaseUnitWidthPx = 6;
inline constexpr int kBaseUnitHeightPx = 13;
inline constexpr int kHorizontalUnitsPerBase = 4;
inline constexpr int kVerticalUnitsPerBase = 8;

// numerator / denominator to the nearest whole number, halves away from zero; denominator > 0.
inline constexpr int RoundedQuotient(int numerator, int denominator) {
  const int half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((half - numerator) / denominator);
}

inline constexpr int HorizontalPixels(int dialogUnits) {
  return RoundedQuotient(dialogUnits * kBaseUnitWidthPx, kHorizontalUnitsPerBase);
}

inline constexpr int VerticalPixels(int dialogUnits) {
  return RoundedQuotient(dialogUnits * kBaseUnitHeightPx, kVerticalUnitsPerBase);
}

inline QRect PixelRect(const DialogRect& rect) {
  return QRect(HorizontalPixels(rect.x), VerticalPixels(rect.y), HorizontalPixels(rect.width),
               VerticalPixels(rect.height));
}

inline QSize PixelSize(const DialogRect& rect) {
  return QSize(HorizontalPixels(rect.width), VerticalPixels(rect.height));
}

}  // namespace zav::qt
