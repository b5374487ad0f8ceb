#pragma once
// What a recorded drawing looks like after a paint of a part of its control: the pixels
// outside the part stay, so the operations that drew only there stay, in their order; those
// that drew in the part are painted over and go. The new paint's operations follow them.

#include <optional>
#include <vector>

#include "hosts/headless/dialog_record.h"

namespace zav::headless {

// The box an operation drew in, with text measured as the recording canvas measures it;
// none for the operations that only set the pen, colours or clipping.
std::optional<PixelBox> DrawnBox(const DrawOp& op);

// Leaves the operations of `drawing` that drew nothing in `part`.
void PaintOver(std::vector<DrawOp>& drawing, PixelBox part);

}  // namespace zav::headless
