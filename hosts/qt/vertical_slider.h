#pragma once
// The vertical trackbar: position 0 (the minimum) at the top, the arrow keys and Page Up /
// Page Down moving the thumb the way they point, not in the tab order. Every movement by the
// user, and a click on the thumb, sends VerticalScroll with the platform's trackbar code.

#include <QSlider>

#include "hosts/qt/event_delivery.h"

namespace zav::qt {

// Trackbar notification codes, as the original platform numbers them.
enum class TrackbarCode {
  LineUp = 0,
  LineDown = 1,
  PageUp = 2,
  PageDown = 3,
  ThumbPosition = 4,  // the thumb was let go
  ThumbTrack = 5,     // the thumb is being dragged
  Top = 6,
  Bottom = 7,
};

QSlider* CreateVerticalSlider(QWidget* parent, int controlId, const DeliverEvent& deliver);

// A new range also sets the page step to a fifth of it, as the platform's trackbar does.
void SetVerticalSliderRange(QSlider& slider, int low, int high);

}  // namespace zav::qt
