#include "charts/chart_marks.h"

#include <algorithm>

namespace zav {

std::vector<PixelPoint> MarkOutline(MarkShape shape, PixelPoint at, int sizePx) {
  const int r = std::max(sizePx / 2, 1);  // px from the centre to the outline
  const int x = at.x;
  const int y = at.y;
  switch (shape) {
    case MarkShape::Circle: {
      const int d = (r * 7 + 5) / 10;  // an octagon's corner, about r / sqrt(2)
      return {{x - r, y},     {x - d, y - d}, {x, y - r},     {x + d, y - d}, {x + r, y},
              {x + d, y + d}, {x, y + r},     {x - d, y + d}, {x - r, y}};
    }
    case MarkShape::Square:
      return {{x - r, y - r}, {x + r, y - r}, {x + r, y + r}, {x - r, y + r}, {x - r, y - r}};
    case MarkShape::Triangle:
      return {{x, y - r}, {x + r, y + r}, {x - r, y + r}, {x, y - r}};
    case MarkShape::Diamond:
      return {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}, {x, y - r}};
  }
  return {};
}

void DrawMark(Canvas& canvas, MarkShape shape, PixelPoint at, int sizePx) {
  canvas.Polyline(MarkOutline(shape, at, sizePx));
}

}  // namespace zav
