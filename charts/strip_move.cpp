#include "charts/strip_move.h"

#include <algorithm>

namespace zav {

namespace {

// Past the newest sample's pixel a line or a band was drawn from it may reach (px).
constexpr int kLineReachPx = 2;

}  // namespace

std::optional<StripMove> StripMoveTo(const StripLayout& drawn, const StripShown& shown) {
  const PixelBox& plot = drawn.plot;
  if (!drawn.aligned || shown.pixelTime != drawn.pixelTime || drawn.moving.Empty()) {
    return std::nullopt;
  }
  const std::int64_t columns = shown.column - drawn.firstColumn;
  if (columns < 0 || columns > plot.Width() / 2) {
    return std::nullopt;
  }
  const int dx = -static_cast<int>(columns);
  StripMove move;
  move.dx = dx;
  // The plot's frame lines at its left and right edges stay; the one along its bottom is the
  // same all along.
  move.moved = {plot.left, plot.top, plot.right, drawn.moving.bottom};
  // The right end: from the newest sample's pixel, moved, to the time axis's unit; it takes
  // in the labels that reached past the plot and stayed there, and the whole label of a tick
  // that comes in anywhere in the uncovered part.
  const int newest = std::min(drawn.newestX, plot.right) + dx - kLineReachPx;
  const int newLabels = plot.right + dx - (drawn.timeLabelWidth + 1) / 2 - kLineReachPx;
  move.painted[0] = {std::max(std::min(newest, newLabels), drawn.moving.left), plot.top,
                     drawn.moving.right, drawn.moving.bottom};
  // The left end of the time axis: labels that reached left of the plot stayed there, and a
  // label near the left edge starts at it rather than centred on its tick. Labels grow by a
  // digit at most between two moves.
  if (dx != 0) {
    move.painted[1] = {drawn.moving.left, plot.bottom,
                       drawn.moving.left + drawn.timeLabelWidth * 3 / 2 + kLineReachPx,
                       drawn.moving.bottom};
  }
  return move;
}

}  // namespace zav
