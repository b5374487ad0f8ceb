#include "hosts/qt/image_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QPaintEngine>
#include <QRegion>

namespace zav::qt {

namespace {

bool DirectFormat(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

// The image's rows, with the clip already mapped into image pixels.
struct Pixels {
  uchar* bits;
  qsizetype rowBytes;
  QRect clip;  // px in the image, inside it
  QRgb colour;

  QRgb* Row(int y) const { return reinterpret_cast<QRgb*>(bits + y * rowBytes); }
  void Set(int x, int y) const {
    if (x >= clip.left() && x <= clip.right() && y >= clip.top() && y <= clip.bottom()) {
      Row(y)[x] = colour;
    }
  }
  // Pixels top..bottom (both in) of column x.
  void Column(int x, int top, int bottom) const {
    if (x < clip.left() || x > clip.right()) {
      return;
    }
    top = std::max(top, clip.top());
    bottom = std::min(bottom, clip.bottom());
    if (top > bottom) {
      return;
    }
    const qsizetype step = rowBytes / static_cast<qsizetype>(sizeof(QRgb));
    QRgb* pixel = Row(top) + x;
    for (int y = top; y <= bottom; ++y, pixel += step) {
      *pixel = colour;
    }
  }
};

// Bresenham's walk from `from` up to `to`, `to` left out; ties round towards the larger minor
// coordinate whichever way the line runs, so a line and its reverse set the same pixels
// between their ends. `Set` sets one pixel.
template <typename SetPixel>
void Walk(QPoint from, QPoint to, const SetPixel& Set) {
  const int dx = std::abs(to.x() - from.x());
  const int dy = std::abs(to.y() - from.y());
  const int stepX = to.x() >= from.x() ? 1 : -1;
  const int stepY = to.y() >= from.y() ? 1 : -1;
  int x = from.x();
  int y = from.y();
  if (dx >= dy) {
    // err is 2 * dx * (the ideal minor position - y), offset so a step happens past half.
    int err = 2 * dy - dx - (stepY < 0 ? 1 : 0);
    for (int i = 0; i < dx; ++i) {
      Set(x, y);
      if (err >= 0) {
        y += stepY;
        err -= 2 * dx;
      }
      err += 2 * dy;
      x += stepX;
    }
    return;
  }
  int err = 2 * dx - dy - (stepX < 0 ? 1 : 0);
  for (int i = 0; i < dy; ++i) {
    Set(x, y);
    if (err >= 0) {
      x += stepX;
      err -= 2 * dy;
    }
    err += 2 * dx;
    y += stepY;
  }
}

void Segment(const Pixels& pixels, QPoint from, QPoint to) {
  const QRect& clip = pixels.clip;
  const bool inside =
      std::min(from.x(), to.x()) >= clip.left() && std::max(from.x(), to.x()) <= clip.right() &&
      std::min(from.y(), to.y()) >= clip.top() && std::max(from.y(), to.y()) <= clip.bottom();
  if (inside) {  // most segments: no test per pixel
    Walk(from, to, [&](int x, int y) { pixels.Row(y)[x] = pixels.colour; });
  } else {
    Walk(from, to, [&](int x, int y) { pixels.Set(x, y); });
  }
}

// The polyline's pixels within `within` (px in the image, inside it).
void DrawPolylineWithin(const DirectImage& target, std::span<const PixelPoint> points,
                        const QRect& within, QRgb colour) {
  QImage& image = *target.image;
  const Pixels pixels{image.bits(), image.bytesPerLine(), within, colour | 0xff000000u};
  const auto at = [&](std::size_t i) { return QPoint(points[i].x, points[i].y) + target.origin; };
  // A thinned line has several points on most pixel columns: the segments between them
  // cover the column from their lowest to their highest point, set here in one go.
  std::size_t first = 0;
  while (true) {
    std::size_t last = first;
    int top = points[first].y;
    int bottom = top;
    while (last + 1 < points.size() && points[last + 1].x == points[first].x) {
      ++last;
      top = std::min(top, points[last].y);
      bottom = std::max(bottom, points[last].y);
    }
    pixels.Column(at(first).x(), top + target.origin.y(), bottom + target.origin.y());
    if (last + 1 == points.size()) {
      return;
    }
    Segment(pixels, at(last), at(last + 1));
    first = last + 1;
  }
}

}  // namespace

std::optional<DirectImage> DirectImageOf(QPainter& painter) {
  // A widget's painter paints the window's image; the engine knows it and the repainted area.
  QPaintEngine* engine = painter.paintEngine();
  QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
  if (device == nullptr || device->devType() != QInternal::Image || painter.hasClipping() ||
      painter.opacity() != 1.0 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
    return std::nullopt;
  }
  auto* image = static_cast<QImage*>(device);
  const QTransform transform = painter.deviceTransform();
  if (!DirectFormat(image->format()) || transform.type() > QTransform::TxTranslate ||
      transform.dx() != std::floor(transform.dx()) ||
      transform.dy() != std::floor(transform.dy())) {
    return std::nullopt;
  }
  // A moved live chart repaints two strips; many small parts are left to the painter.
  constexpr int kMostParts = 4;
  std::vector<QRect> allowed{image->rect()};
  const QRegion repainted = engine->systemClip();  // empty: the whole image
  if (!repainted.isEmpty()) {
    if (repainted.rectCount() > kMostParts) {
      return std::nullopt;
    }
    allowed.assign(repainted.begin(), repainted.end());
    for (QRect& part : allowed) {
      part &= image->rect();
    }
  }
  return DirectImage{image,
                     QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy())),
                     std::move(allowed)};
}

void DrawPolylineInto(const DirectImage& target, std::span<const PixelPoint> points,
                      const QRect& clip, QRgb colour) {
  if (points.empty()) {
    return;
  }
  for (const QRect& part : target.allowed) {
    const QRect within = clip.translated(target.origin).intersected(part);
    if (!within.isEmpty()) {
      DrawPolylineWithin(target, points, within, colour);
    }
  }
}

void FillBoxInto(const DirectImage& target, const QRect& box, const QRect& clip, QRgb colour) {
  QImage& image = *target.image;
  for (const QRect& part : target.allowed) {
    const QRect filled =
        box.translated(target.origin).intersected(clip.translated(target.origin)) & part;
    const Pixels pixels{image.bits(), image.bytesPerLine(), filled, colour | 0xff000000u};
    for (int y = filled.top(); y <= filled.bottom(); ++y) {
      std::fill_n(pixels.Row(y) + filled.left(), filled.width(), pixels.colour);
    }
  }
}

}  // namespace zav::qt
