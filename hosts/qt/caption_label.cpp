#include "hosts/qt/caption_label.h"

#include <QFontMetrics>
#include <algorithm>

namespace zav::qt {

namespace {

// The narrowest a caption is drawn, in percent of the font's own width.
constexpr int kNarrowestStretch = 75;
constexpr int kStretchStep = 5;

}  // namespace

CaptionLabel::CaptionLabel(QWidget* client, QRect box, int roomHeightPx, Qt::Alignment alignment)
    : QLabel(client), box_(box), roomHeightPx_(std::max(roomHeightPx, box.height())) {
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
  setAlignment(alignment);
  setGeometry(box_);
}

void CaptionLabel::KeepFont(const QFont& font) {
  ownFont_ = font;
  setFont(font);
}

QFont CaptionLabel::BaseFont() const {
  return ownFont_ ? *ownFont_ : parentWidget()->font();
}

QSize CaptionLabel::NeededFor(int width) const {
  const QRect needed =
      fontMetrics().boundingRect(QRect(0, 0, width, QWIDGETSIZE_MAX),
                                 static_cast<int>(alignment()) | Qt::TextWordWrap, text());
  return needed.size();
}

bool CaptionLabel::Fits() const {
  const QSize room = contentsRect().size();
  const QSize needed = NeededFor(room.width());
  return needed.width() <= room.width() && needed.height() <= room.height();
}

// The box first; then as many more lines as the room below holds; then narrower letters.
void CaptionLabel::SetCaption(const QString& caption) {
  setText(caption);
  ResetFont();
  setGeometry(box_);
  const int width = contentsRect().width();
  const int frame = height() - contentsRect().height();
  for (int stretch = 100; stretch >= kNarrowestStretch; stretch -= kStretchStep) {
    if (stretch < 100) {
      QFont narrower = BaseFont();
      narrower.setStretch(stretch);
      setFont(narrower);
    }
    const QSize needed = NeededFor(width);
    if (needed.width() <= width && needed.height() + frame <= roomHeightPx_) {
      setGeometry(QRect(box_.topLeft(),
                        QSize(box_.width(), std::max(box_.height(), needed.height() + frame))));
      return;
    }
  }
  ResetFont();
}

// The dialog's font again, as the parent gives it, or the label's own.
void CaptionLabel::ResetFont() {
  setFont(ownFont_ ? *ownFont_ : QFont());
}

}  // namespace zav::qt
