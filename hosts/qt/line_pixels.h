#pragma once
// The pixels of a line as the platform's line call sets them: from the start point up to
// the end point, the end point left out, one pixel a step along the longer axis. Points
// are logical pixels; `scale` device pixels make one logical pixel, so on a scaled screen
// the line is as thick as one logical pixel and steps at device-pixel resolution, and its
// ends stay on the logical pixels given.

#include <QPoint>
#include <QRect>
#include <vector>

namespace zav::qt {

// Runs of device pixels, one per device column (or row, for a steep line).
std::vector<QRect> LinePixels(QPoint from, QPoint to, double scale);

}  // namespace zav::qt
