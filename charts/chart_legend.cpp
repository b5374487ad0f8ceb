#include "charts/chart_legend.h"

#include <algorithm>
#include <array>

#include "charts/chart_style.h"

namespace zav {

namespace {

using chart_style::kBlack;

constexpr int kSwatchPx = 16;     // the line or patch before a name
constexpr int kSwatchGapPx = 4;   // between swatch and name
constexpr int kMarkSwatchPx = 8;  // a mark's size in the legend
constexpr int kEntryGapPx = 12;   // between entries of a row
constexpr int kRowGapPx = 2;      // between rows
constexpr Colour kGrey{160, 160, 160};

}  // namespace

std::vector<PixelBox> LayOutLegend(Canvas& canvas, std::span<const LegendEntry> entries,
                                   PixelBox area) {
  std::vector<PixelBox> boxes;
  boxes.reserve(entries.size());
  int x = area.left;
  int y = area.top;
  for (const LegendEntry& entry : entries) {
    const PixelSize text = canvas.MeasureText(entry.name);
    const int width = kSwatchPx + kSwatchGapPx + text.width;
    const int height = std::max(text.height, kSwatchPx / 2);
    if (x > area.left && x + width > area.right) {
      x = area.left;
      y = boxes.back().bottom + kRowGapPx;
    }
    boxes.push_back({x, y, x + width, y + height});
    x += width + kEntryGapPx;
  }
  return boxes;
}

int LegendHeight(std::span<const PixelBox> boxes, int top) {
  int bottom = top;
  for (const PixelBox& box : boxes) {
    bottom = std::max(bottom, box.bottom);
  }
  return bottom - top;
}

void DrawLegend(Canvas& canvas, std::span<const LegendEntry> entries,
                std::span<const PixelBox> boxes) {
  for (std::size_t i = 0; i < entries.size() && i < boxes.size(); ++i) {
    const LegendEntry& entry = entries[i];
    const PixelBox& box = boxes[i];
    const int middle = (box.top + box.bottom) / 2;
    const Colour colour = entry.shown ? entry.colour : kGrey;
    if (entry.band) {
      canvas.FillRectangle({box.left, box.top + 2, box.left + kSwatchPx, box.bottom - 2}, colour);
    } else if (entry.mark) {
      canvas.SetPen(colour);
      canvas.SetPenStyle(2, LineStyle::Solid);
      DrawMark(canvas, *entry.mark, {box.left + kSwatchPx / 2, middle}, kMarkSwatchPx);
    } else {
      canvas.SetPen(colour);
      canvas.SetPenStyle(2, entry.style);
      const std::array<PixelPoint, 2> line{{{box.left, middle}, {box.left + kSwatchPx, middle}}};
      canvas.Polyline(line);
    }
    canvas.SetTextColour(entry.shown ? kBlack : kGrey);
    canvas.PlacedText(
        {{box.left + kSwatchPx + kSwatchGapPx, middle}, TextAlign::Start, TextAlign::Centre},
        entry.name);
  }
  canvas.SetPenStyle(1, LineStyle::Solid);
}

std::optional<int> LegendEntryAt(std::span<const PixelBox> boxes, PixelPoint point) {
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i].Contains(point)) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

}  // namespace zav
