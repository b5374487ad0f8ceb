#include "hosts/qt/vertical_slider.h"

#include <algorithm>
#include <optional>

namespace zav::qt {

namespace {

constexpr int kPageFraction = 5;

// With the minimum at the top, "add" moves the thumb down.
std::optional<TrackbarCode> CodeOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return TrackbarCode::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return TrackbarCode::LineDown;
    case QAbstractSlider::SliderPageStepSub:
      return TrackbarCode::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return TrackbarCode::PageDown;
    case QAbstractSlider::SliderMove:
      return TrackbarCode::ThumbTrack;
    case QAbstractSlider::SliderToMinimum:
      return TrackbarCode::Top;
    case QAbstractSlider::SliderToMaximum:
      return TrackbarCode::Bottom;
    default:
      return std::nullopt;
  }
}

DialogEvent ScrollEvent(int controlId, TrackbarCode code) {
  return {DialogMessage::VerticalScroll, controlId, static_cast<int>(code)};
}

}  // namespace

QSlider* CreateVerticalSlider(QWidget* parent, int controlId, const DeliverEvent& deliver) {
  auto* slider = new QSlider(Qt::Vertical, parent);
  slider->setInvertedAppearance(true);  // minimum at the top
  slider->setInvertedControls(true);    // so Up and Page Up move the thumb up
  slider->setFocusPolicy(Qt::ClickFocus);
  slider->setTracking(true);
  SetVerticalSliderRange(*slider, 0, 100);
  // The action comes before the value is taken over; the procedure reads sliderPosition(),
  // which already holds the new place.
  QObject::connect(slider, &QAbstractSlider::actionTriggered, slider,
                   [controlId, deliver](int action) {
                     if (const std::optional<TrackbarCode> code = CodeOf(action)) {
                       deliver(ScrollEvent(controlId, *code));
                     }
                   });
  QObject::connect(slider, &QAbstractSlider::sliderReleased, slider, [controlId, deliver] {
    deliver(ScrollEvent(controlId, TrackbarCode::ThumbPosition));
  });
  return slider;
}

void SetVerticalSliderRange(QSlider& slider, int low, int high) {
  slider.setRange(low, high);
  slider.setPageStep(std::max(1, (high - low) / kPageFraction));
  slider.setSingleStep(1);
}

}  // namespace zav::qt
