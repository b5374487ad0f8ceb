#pragma once
// The client area of a dialog: the surface below the menu bar that holds the controls and
// the picture the program draws. The picture is kept in a backing image (transparent where
// nothing was drawn, client-area sized, at the screen's device pixel ratio) that drawing goes
// into at once, inside or outside a Paint event; the area shows it under its child controls.
// The image is made when something is first drawn: most windows never draw, and a
// client-area-sized image is a few MB of memory and a blend over every repainted pixel.
//
// When the window system wants the area drawn (first show, expose, resize), the dialog's
// procedure gets a Paint event first so it can redraw the picture. A repaint that only
// shows what the program has just drawn does not bring a Paint event, or the procedure would
// at once replace its own drawing.

#include <QImage>
#include <QWidget>
#include <functional>

namespace zav::qt {

class ClientArea final : public QWidget {
 public:
  // `size` (px) is the area's size as the template gives it; a resizable area can change it.
  ClientArea(QSize size, bool resizable, QWidget* parent, std::function<void()> deliverPaint);

  // For drawing into: from now on the picture counts as holding something.
  QImage& Picture();
  // Shows what was just drawn into the picture.
  void ShowPicture();
  // The window system asked for the area: the next repaint delivers Paint first.
  void RequestPaint();

  QSize sizeHint() const override { return templateSize_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void RedrawInto(const QRegion& region);

  QSize templateSize_;
  QImage picture_;  // null until something is drawn
  std::function<void()> deliverPaint_;
  bool paintRequested_ = false;
  bool delivering_ = false;  // inside the procedure's Paint: the repaint follows anyway
  bool blank_ = true;        // nothing drawn since the picture was last wiped whole
};

}  // namespace zav::qt
