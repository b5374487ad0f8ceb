#pragma once
// What the chart tests read back from a recorded drawing, and the empty window they open
// chart windows from.

#include <vector>

#include "hosts/headless/recording_canvas.h"
#include "resources/dialog_template.h"

namespace zav::test {

// The points of the polylines drawn while the pen had `colour`.
inline std::vector<std::vector<PixelPoint>> PolylinesIn(const std::vector<headless::DrawOp>& ops,
                                                        Colour colour) {
  using headless::DrawOp;
  std::vector<std::vector<PixelPoint>> lines;
  bool inColour = false;
  for (const DrawOp& op : ops) {
    if (op.kind == DrawOp::Kind::Pen) {
      inColour = op.colour == colour;
    } else if (op.kind == DrawOp::Kind::Polyline && inColour) {
      lines.push_back(op.points);
    }
  }
  return lines;
}

// A plain window (template `id`) to own the chart windows a test opens.
inline DialogTemplate HostTemplate(int id) {
  return DialogTemplate{.id = id, .title = "Host"};
}

}  // namespace zav::test
