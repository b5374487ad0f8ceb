#pragma once
// What the chart tests read back from a recorded drawing, and the empty window they open
// chart windows from.

#include <string>
#include <vector>

#include "hosts/headless/painted_over.h"
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

// The box each placed text covers, as the recording canvas measures it.
struct TextBox {
  std::string text;
  PixelBox box;
};

inline std::vector<TextBox> TextBoxesIn(const std::vector<headless::DrawOp>& ops) {
  std::vector<TextBox> boxes;
  for (const headless::DrawOp& op : ops) {
    if (op.kind == headless::DrawOp::Kind::PlacedText) {
      boxes.push_back({op.text, *headless::DrawnBox(op)});
    }
  }
  return boxes;
}

// The first two texts whose boxes overlap, as "A" over "B"; empty when none do.
inline std::string OverlappingTexts(const std::vector<headless::DrawOp>& ops) {
  const std::vector<TextBox> boxes = TextBoxesIn(ops);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const PixelBox& a = boxes[i].box;
      const PixelBox& b = boxes[j].box;
      if (a.Overlaps(b)) {
        return "\"" + boxes[i].text + "\" over \"" + boxes[j].text + "\"";
      }
    }
  }
  return {};
}

// A plain window (template `id`) to own the chart windows a test opens.
inline DialogTemplate HostTemplate(int id) {
  return DialogTemplate{.id = id, .title = "Host"};
}

}  // namespace zav::test
