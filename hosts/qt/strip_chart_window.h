#pragma once
// The window around a strip chart: the span shown (30 s, 2 min, 10 min, or a whole log),
// a check box per series, Pause and a scroll bar to go back through every sample, picture
// export, and the petrol-against-gas view of the same samples.
//
// Live, it follows the session store as new samples come (at most once per tick); paused,
// the view stays where it is and the scroll bar reaches back to the session's first sample.
// For a log, it is always "paused" over the log's samples, and a drag with the mouse zooms.
//
// The mouse wheel over the chart, the arrow keys and the scroll bar's arrows step a tenth of
// the span through the session (Page Up and Page Down a whole span, Home and End to its ends).
// Moving back from the live end, by any of them or the scroll bar's handle, pauses; moving
// onto it follows live again.

#include <QAbstractSlider>
#include <QWidget>
#include <deque>
#include <functional>

#include "datalog/sample_columns.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollBar;

namespace zav::qt {

class StripChartView;

class StripChartWindow : public QWidget {
 public:
  // `samples` must outlive the window. `live`: follow new samples.
  StripChartWindow(const std::deque<DecodedSample>& samples, bool live, QWidget* owner);

  // New samples in the store: follow them unless paused (redrawn every 0.4 s of samples,
  // or longer on a wide span: see RedrawStep).
  void Refresh();
  StripChartView& Chart() const { return *chart_; }
  // The span shown (s); 0 for the whole log.
  void SetSpan(double seconds);
  void SetPaused(bool paused);
  // Asked for when the user wants the petrol-against-gas view of these samples.
  std::function<void()> showScatter;
  // Moves the span as the scroll bar's `action` does (a step, a page, to an end).
  void Move(QAbstractSlider::SliderAction action);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Following() const;
  void PauseOrFollow();
  double Span() const;
  // Seconds of newer samples that make a live chart draw again.
  double RedrawStep() const;
  double Newest() const;
  double Oldest() const;
  void UpdateScrollRange();
  void ShowFromScroll();
  void SavePicture();

  const std::deque<DecodedSample>& samples_;
  bool live_ = true;
  StripChartView* chart_ = nullptr;
  QComboBox* span_ = nullptr;
  QPushButton* pause_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  double drawnUpTo_ = -1.0;  // the newest sample's time when last drawn (s)
  int wheelRest_ = 0;        // wheel turned short of a whole notch (1/8 degrees)
};

}  // namespace zav::qt
