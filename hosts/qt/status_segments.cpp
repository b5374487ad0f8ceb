#include "hosts/qt/status_segments.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <algorithm>

namespace zav::qt {

namespace {

// Room around the segments' texts (px), so they do not touch the frame or each other.
constexpr int kMargin = 3;
constexpr int kSpacing = 12;

// A label that shows as much of its text as fits, ending in "…" when cut.
class ElidedLabel final : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // The room is shared by stretch, not by text length: a long connection text must not
    // squeeze the upgrade's progress down to "…".
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }

  void SetWholeText(const QString& text) {
    whole_ = text;
    setToolTip(text);
    setVisible(!text.isEmpty());
    Elide();
  }

  // Wide enough for the whole text; the layout shares the room by these hints.
  QSize sizeHint() const override {
    return {fontMetrics().horizontalAdvance(whole_) + 2 * kMargin, QLabel::sizeHint().height()};
  }
  // Cut down to "…" at the least.
  QSize minimumSizeHint() const override {
    return {fontMetrics().horizontalAdvance(QStringLiteral("\u2026")) + 2 * kMargin,
            QLabel::minimumSizeHint().height()};
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    Elide();
  }

 private:
  void Elide() {
    setText(fontMetrics().elidedText(whole_, Qt::ElideRight, contentsRect().width()));
  }

  QString whole_;
};

}  // namespace

StatusSegments::StatusSegments(QWidget* parent, DeliverEvent deliver)
    : QFrame(parent), deliver_(std::move(deliver)) {
  setCursor(Qt::PointingHandCursor);
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setSpacing(kSpacing);
  // A strip as high as a line of text even while every segment is empty.
  setMinimumHeight(fontMetrics().height() + 2 * kMargin + 2 * frameWidth());
}

QLabel& StatusSegments::SegmentLabel(int index) {
  while (static_cast<int>(segments_.size()) <= index) {
    auto* label = new ElidedLabel(this);
    label->setObjectName(QStringLiteral("statusSegment%1").arg(segments_.size()));
    // The connection's segment gets 3 parts of the room, the others 2 each.
    static_cast<QHBoxLayout*>(layout())->addWidget(label, segments_.empty() ? 3 : 2);
    segments_.push_back(label);
  }
  return *segments_[static_cast<std::size_t>(index)];
}

void StatusSegments::SetSegments(const QStringList& texts) {
  const int count = std::max(static_cast<int>(texts.size()), static_cast<int>(segments_.size()));
  for (int i = 0; i < count; ++i) {
    auto& label = static_cast<ElidedLabel&>(SegmentLabel(i));
    label.SetWholeText(i < texts.size() ? texts[i] : QString());
  }
}

QLabel* StatusSegments::Segment(int index) const {
  const bool known = index >= 0 && index < static_cast<int>(segments_.size());
  return known ? segments_[static_cast<std::size_t>(index)] : nullptr;
}

void StatusSegments::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    deliver_(CommandEvent(kStatusLineClicked));
  }
  QFrame::mouseReleaseEvent(event);
}

}  // namespace zav::qt
