#pragma once
// A chart's legend: an entry per series (a short line or its mark in its colour, then its
// name) and per background band (a filled swatch), in rows under the plot. An entry of a hidden
// series stays, greyed, so a click can show it again; LegendEntryAt finds the entry under a click.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "charts/chart_marks.h"
#include "platform/canvas.h"

namespace zav {

struct LegendEntry {
  std::string name;
  Colour colour;
  bool band = false;  // a filled swatch, else a line
  bool shown = true;  // greyed when false
  LineStyle style = LineStyle::Solid;
  std::optional<MarkShape> mark;  // a scatter's mark in place of the line
};

// Where each entry goes, in rows from the top-left of `area`, none wider than it; the boxes
// hold swatch and name.
std::vector<PixelBox> LayOutLegend(Canvas& canvas, std::span<const LegendEntry> entries,
                                   PixelBox area);
// The height (px) the laid-out boxes take below `top`; 0 without entries.
int LegendHeight(std::span<const PixelBox> boxes, int top);

void DrawLegend(Canvas& canvas, std::span<const LegendEntry> entries,
                std::span<const PixelBox> boxes);

// The index of the entry whose box holds `point`.
std::optional<int> LegendEntryAt(std::span<const PixelBox> boxes, PixelPoint point);

}  // namespace zav
