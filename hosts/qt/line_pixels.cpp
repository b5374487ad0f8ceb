#include "hosts/qt/line_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace zav::qt {

namespace {

// The first device pixel of logical pixel `logical` along one axis.
int DeviceStart(int logical, double scale) {
  return static_cast<int>(std::lround(logical * scale));
}

// A line along its major axis (a) with the minor axis (b) following it; the result swaps
// back for steep lines.
struct AxisLine {
  int a0, b0, a1, b1;
};

std::vector<QRect> Runs(const AxisLine& line, double scale, bool steep) {
  std::vector<QRect> runs;
  const int step = line.a1 > line.a0 ? 1 : -1;
  const double slope = static_cast<double>(line.b1 - line.b0) / (line.a1 - line.a0);
  // One logical pixel in whole device pixels, the same all along the line.
  const int thickness = std::max(1, static_cast<int>(std::lround(scale)));
  // Device positions along the major axis from the start pixel's first one to the end
  // pixel's, the end pixel's own left out.
  const int first = step > 0 ? DeviceStart(line.a0, scale) : DeviceStart(line.a0 + 1, scale) - 1;
  const int stop = step > 0 ? DeviceStart(line.a1, scale) : DeviceStart(line.a1 + 1, scale) - 1;
  for (int device = first; device != stop; device += step) {
    // Where the line is at this device position, in logical pixels counted from pixel
    // centres, so a 1:1 line sets the pixel nearest to it.
    const double along = (device + 0.5) / scale - 0.5;
    const double across = line.b0 + (along - line.a0) * slope;
    const int top = static_cast<int>(std::lround(across * scale));
    runs.push_back(steep ? QRect(top, device, thickness, 1) : QRect(device, top, 1, thickness));
  }
  return runs;
}

}  // namespace

std::vector<QRect> LinePixels(QPoint from, QPoint to, double scale) {
  if (from == to) {
    return {};
  }
  const bool steep = std::abs(to.y() - from.y()) > std::abs(to.x() - from.x());
  if (steep) {
    return Runs({from.y(), from.x(), to.y(), to.x()}, scale, true);
  }
  return Runs({from.x(), from.y(), to.x(), to.y()}, scale, false);
}

}  // namespace zav::qt
