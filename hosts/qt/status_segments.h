#pragma once
// The status line under a window: one sunken strip of segments side by side (connection,
// recording, upgrade). Each segment takes the width of its whole text while the strip has
// room, is cut on its own with "…" when the window is too narrow for it, and carries its
// whole text as tooltip, current even while the tooltip is open; an empty segment takes no
// room. A left click anywhere on the strip is reported as the window's kStatusLineClicked
// command.

#include <QFrame>
#include <QStringList>
#include <vector>

#include "hosts/qt/event_delivery.h"

class QLabel;

namespace zav::qt {

class StatusSegments final : public QFrame {
 public:
  StatusSegments(QWidget* parent, DeliverEvent deliver);

  // Segments in order, left to right; more than before adds labels, fewer hides the rest.
  void SetSegments(const QStringList& texts);

  // For tests: the label of segment `index`, nullptr beyond those ever shown.
  QLabel* Segment(int index) const;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel& SegmentLabel(int index);
  void ShareRoom();

  DeliverEvent deliver_;
  std::vector<QLabel*> segments_;  // children of this strip
};

}  // namespace zav::qt
