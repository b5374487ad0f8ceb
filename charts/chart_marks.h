#pragma once
// The marks a scatter chart puts at its points, one shape per cylinder, so that a picture
// printed in grey still tells the cylinders apart: circle, square, triangle, diamond.

#include <vector>

#include "platform/canvas.h"

namespace zav {

enum class MarkShape { Circle, Square, Triangle, Diamond };

inline constexpr int kMarkShapeCount = 4;

// The outline of a mark `sizePx` across centred on `at`, as a closed polyline.
std::vector<PixelPoint> MarkOutline(MarkShape shape, PixelPoint at, int sizePx);

// Draws the mark's outline with the canvas's pen and pen style.
void DrawMark(Canvas& canvas, MarkShape shape, PixelPoint at, int sizePx);

}  // namespace zav
