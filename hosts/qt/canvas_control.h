#pragma once
// A canvas control: a plain widget the dialog's procedure draws on in its Paint event. Qt
// asks for the paint (first show, expose, resize, Redraw), and only for the widget's own
// area, so a chart's redraw repaints nothing around it. The widget paints straight into the
// window's image, where the painter canvas sets one-pixel lines itself (see image_lines.h);
// it keeps no picture of its own (that would cost its size times 4 bytes). Resizes, wheel
// turns, clicks and the moving keys go to the procedure as events with the control's id.
//
// In a resizable window it keeps the distance of its right and bottom edges to the client
// area's, so it takes the room the window gains.

#include <QWidget>
#include <memory>

#include "hosts/qt/event_delivery.h"
#include "hosts/qt/text_cache.h"

namespace zav::qt {

class PainterCanvas;

class CanvasControl final : public QWidget {
 public:
  CanvasControl(QWidget* client, int controlId, DeliverEvent deliver);
  ~CanvasControl() override;

  // The canvas of the Paint being delivered; nullptr outside one.
  Canvas* Painting() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int id_;
  DeliverEvent deliver_;
  std::unique_ptr<PainterCanvas> painting_;
  TextCache texts_;    // the labels it draws on every paint, laid out once
  int wheelRest_ = 0;  // wheel turned short of a whole notch (1/8 degrees)
};

// Keeps `widget`'s right and bottom edges (or, with `keepHeight`, its height and bottom
// edge) as far from its parent's as they are now, as the parent is resized.
void FollowParentEdges(QWidget& widget, QSize templateParentSize, bool keepHeight);

}  // namespace zav::qt
