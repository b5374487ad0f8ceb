#pragma once
// Dialog units to pixels. A template's horizontal unit is a quarter of its dialog font's
// average character width, its vertical unit an eighth of the font's height (the base units,
// measured in dialog_font.h), so a template's texts fit their boxes in whatever font the
// windows use. Each result is rounded to the nearest pixel, halves away from zero, as the
// platform's own conversion (MulDiv) does. Pixels here are device-independent; Qt scales
// them on larger screens.

#include <QPoint>
#include <QRect>
#include <QSize>

#include "resources/dialog_template.h"

namespace zav::qt {

// A font's average character width and height (px).
struct BaseUnits {
  int widthPx = 0;
  int heightPx = 0;
};

// The base units of "MS Sans Serif" 8 at 96 DPI, the font the templates were drawn in. A
// picture the program draws at fixed pixels (the Parameters dialog's chart) is laid out for
// these.
inline constexpr BaseUnits kTemplateBaseUnits{6, 13};

inline constexpr int kHorizontalUnitsPerBase = 4;
inline constexpr int kVerticalUnitsPerBase = 8;

// numerator / denominator to the nearest whole number, halves away from zero; denominator > 0.
inline constexpr int RoundedQuotient(int numerator, int denominator) {
  const int half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((half - numerator) / denominator);
}

inline constexpr int HorizontalPixels(BaseUnits base, int dialogUnits) {
  return RoundedQuotient(dialogUnits * base.widthPx, kHorizontalUnitsPerBase);
}

inline constexpr int VerticalPixels(BaseUnits base, int dialogUnits) {
  return RoundedQuotient(dialogUnits * base.heightPx, kVerticalUnitsPerBase);
}

inline QRect PixelRect(BaseUnits base, const DialogRect& rect) {
  return QRect(HorizontalPixels(base, rect.x), VerticalPixels(base, rect.y),
               HorizontalPixels(base, rect.width), VerticalPixels(base, rect.height));
}

inline QSize PixelSize(BaseUnits base, const DialogRect& rect) {
  return QSize(HorizontalPixels(base, rect.width), VerticalPixels(base, rect.height));
}

// Where the pixel (0, 0) of a picture laid out for kTemplateBaseUnits goes so that the
// picture stays centred in `box` (dialog units) under `base`: its own pixels keep their
// places relative to each other, and the box moves and grows with the rest of the template.
inline QPoint PictureOrigin(BaseUnits base, const DialogRect& box) {
  return PixelRect(base, box).center() - PixelRect(kTemplateBaseUnits, box).center();
}

}  // namespace zav::qt
