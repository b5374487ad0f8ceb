#include "hosts/qt/status_segments.h"

#include <QCursor>
#include <QEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyle>
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <optional>

namespace zav::qt {

namespace {

// Room around the segments' texts (px), so they do not touch the frame or each other.
constexpr int kMargin = 3;
constexpr int kSpacing = 12;

// A label that shows as much of its text as fits, ending in "…" when cut. Its text is laid
// out once per text and font: QLabel would lay it out again on every paint, and measuring
// and cutting with QFontMetrics twice more, the recording's segment (its count moves once a
// second) cost more than writing the log.
class ElidedLabel final : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // The strip gives each its width (ShareRoom): what its whole text needs while there is
    // room, down to "…" on a narrow window.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // Painting its own background, a segment whose text changes (the recording's count, once
    // a second) is repainted alone, not the strip's frame behind it.
    setAutoFillBackground(true);
  }

  // False when the text is the one shown already: nothing then changes.
  bool SetWholeText(const QString& text) {
    if (text == whole_.text() && measured_) {
      return false;
    }
    whole_.setText(text);
    Measure();
    setToolTip(text);
    setVisible(!text.isEmpty());
    Elide();
    // A tooltip open over this segment shows the text as it is now, not as it was.
    if (QToolTip::isVisible() && tipShown_ && !text.isEmpty()) {
      QToolTip::showText(QCursor::pos(), text, this);
    }
    return true;
  }

  // Wide enough for the whole text; the layout shares the room by these hints.
  QSize sizeHint() const override { return hint_; }
  // Cut down to "…" at the least.
  QSize minimumSizeHint() const override { return leastHint_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    Elide();
  }

  void changeEvent(QEvent* event) override {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && measured_) {
      fontMeasured_ = false;
      Measure();
      Elide();
    }
  }

  // The tooltip is the whole text at the moment it opens.
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip && !whole_.text().isEmpty()) {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), whole_.text(), this);
      tipShown_ = true;
      return true;
    }
    if (event->type() == QEvent::Leave) {
      tipShown_ = false;
    }
    return QLabel::event(event);
  }

  // The laid-out text, up to the cut and "…" after it, where QLabel puts its text.
  void paintEvent(QPaintEvent*) override {
    if (!measured_) {
      return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect place =
        QStyle::alignedRect(layoutDirection(), alignment(),
                            QSize(contentsRect().width(), fontMetrics().height()), contentsRect());
    if (!cutAtPx_) {
      whole_.draw(&painter, place.topLeft());
      return;
    }
    painter.save();
    painter.setClipRect(QRectF(place.left(), place.top(), *cutAtPx_, place.height()));
    whole_.draw(&painter, place.topLeft());
    painter.restore();
    ellipsis_.draw(&painter, QPointF(place.left() + *cutAtPx_, place.top()));
  }

 private:
  // The whole text shown when it fits; else up to the last character that leaves room for
  // "…", which follows it.
  void Elide() {
    const int room = contentsRect().width();
    if (hint_.width() - 2 * kMargin <= room) {
      cutAtPx_.reset();
      setText(whole_.text());
      return;
    }
    const QTextLine line = whole_.lineAt(0);
    const qreal limit = room - ellipsis_.lineAt(0).naturalTextWidth();
    int cut = line.xToCursor(std::max(limit, 0.0), QTextLine::CursorBetweenCharacters);
    while (cut > 0 && line.cursorToX(cut) > limit) {
      cut = whole_.previousCursorPosition(cut);
    }
    cutAtPx_ = line.cursorToX(cut);
    setText(whole_.text().left(cut) + QChar(0x2026));
  }

  // The whole text laid out on one line, and its width; the line's height and the "…" once
  // per font.
  void Measure() {
    if (!fontMeasured_) {
      LayOut(ellipsis_, QString(QChar(0x2026)));
      leastHint_ = {
          static_cast<int>(std::ceil(ellipsis_.lineAt(0).naturalTextWidth())) + 2 * kMargin,
          fontMetrics().height()};
      fontMeasured_ = true;
    }
    LayOut(whole_, whole_.text());
    hint_ = {static_cast<int>(std::ceil(whole_.lineAt(0).naturalTextWidth())) + 2 * kMargin,
             fontMetrics().height()};
    measured_ = true;
  }

  void LayOut(QTextLayout& layout, const QString& text) const {
    layout.setText(text);
    layout.setFont(font());
    layout.setCacheEnabled(true);  // drawn on every paint: its glyphs kept
    QTextOption oneLine;
    oneLine.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(oneLine);
    layout.beginLayout();
    constexpr qreal kWiderThanAnyText = 1e6;  // px
    layout.createLine().setLineWidth(kWiderThanAnyText);
    layout.endLayout();
  }

  QTextLayout whole_;
  QTextLayout ellipsis_;
  std::optional<qreal> cutAtPx_;  // px from the text's left, where "…" starts
  QSize hint_;                    // px
  QSize leastHint_;               // px
  bool measured_ = false;
  bool fontMeasured_ = false;
  bool tipShown_ = false;  // the last tooltip opened was this segment's
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
  layout->addStretch(1);
  // A strip as high as a line of text even while every segment is empty.
  setMinimumHeight(fontMetrics().height() + 2 * kMargin + 2 * frameWidth());
}

QLabel& StatusSegments::SegmentLabel(int index) {
  while (static_cast<int>(segments_.size()) <= index) {
    auto* label = new ElidedLabel(this);
    label->setObjectName(QStringLiteral("statusSegment%1").arg(segments_.size()));
    // Sized by what they hold, left to right; the room left over stays at the right end.
    auto* row = static_cast<QHBoxLayout*>(layout());
    row->insertWidget(static_cast<int>(segments_.size()), label);
    segments_.push_back(label);
  }
  return *segments_[static_cast<std::size_t>(index)];
}

void StatusSegments::SetSegments(const QStringList& texts) {
  const int count = std::max(static_cast<int>(texts.size()), static_cast<int>(segments_.size()));
  bool changed = false;
  for (int i = 0; i < count; ++i) {
    auto& label = static_cast<ElidedLabel&>(SegmentLabel(i));
    changed = label.SetWholeText(i < texts.size() ? texts[i] : QString()) || changed;
  }
  if (changed) {
    ShareRoom();
  }
}

void StatusSegments::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  ShareRoom();
}

// The strip's width (px) goes to the shown segments by what they hold: each whole while all
// fit; else the shortest stay whole as far as an equal share allows and the longer ones
// share the rest equally, so a long text never squeezes a short one down to "…".
void StatusSegments::ShareRoom() {
  std::vector<QLabel*> shown;
  for (QLabel* label : segments_) {
    if (!label->isHidden()) {
      shown.push_back(label);
    }
  }
  std::sort(shown.begin(), shown.end(), [](const QLabel* a, const QLabel* b) {
    return a->sizeHint().width() < b->sizeHint().width();
  });
  // Between the segments and before the room left over at the right end, a spacing each.
  int room = contentsRect().width() - 2 * kMargin - kSpacing * static_cast<int>(shown.size());
  int left = static_cast<int>(shown.size());
  for (QLabel* label : shown) {
    const int share = std::max(room / left, label->minimumSizeHint().width());
    const int width = std::min(label->sizeHint().width(), share);
    label->setFixedWidth(width);
    room -= width;
    --left;
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
