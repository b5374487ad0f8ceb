#pragma once
// How far a static text of a template may reach down when its caption needs more lines than
// its box holds: to the next control below it (one that shares some of its width), and not
// past the frame of a group box around it. Templates leave such room under the captions
// that wrap (two rows of text where the box is one row high).

#include <span>

#include "resources/dialog_template.h"

namespace zav::qt {

// The height (dialog units) `label` may take, at least its own; `dialogHeight` (dialog
// units) bounds it too.
int RoomBelow(std::span<const ControlTemplate> controls, const ControlTemplate& label,
              int dialogHeight);

}  // namespace zav::qt
