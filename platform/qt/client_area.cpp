#include "platform/qt/client_area.h"

#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace zav::qt {

namespace {

QImage EmptyPicture(QSize size) {
  QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  return picture;
}

}  // namespace

ClientArea::ClientArea(QSize size, bool resizable, QWidget* parent,
                       std::function<void()> deliverPaint)
    : QWidget(parent),
      templateSize_(size),
      picture_(EmptyPicture(size)),
      deliverPaint_(std::move(deliverPaint)) {
  if (resizable) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(0, 0);
  } else {
    setFixedSize(size);
  }
  resize(size);
}

void ClientArea::ShowPicture() {
  if (!delivering_) {
    update();
  }
}

void ClientArea::RequestPaint() {
  paintRequested_ = true;
  update();
}

void ClientArea::paintEvent(QPaintEvent* event) {
  if (paintRequested_) {
    paintRequested_ = false;
    RedrawInto(event->region());
  }
  QPainter painter(this);
  painter.drawImage(event->rect(), picture_, event->rect());
}

// What the window system asks for starts blank, as an erased background does; then the
// procedure draws its picture afresh.
void ClientArea::RedrawInto(const QRegion& region) {
  {
    QPainter eraser(&picture_);
    eraser.setCompositionMode(QPainter::CompositionMode_Clear);
    for (const QRect& rect : region) {
      eraser.fillRect(rect, Qt::transparent);
    }
  }
  delivering_ = true;
  deliverPaint_();
  delivering_ = false;
}

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (picture_.size() != size() && !size().isEmpty()) {
    QImage resized = EmptyPicture(size());
    {
      QPainter keeper(&resized);
      keeper.drawImage(0, 0, picture_);  // what was drawn stays where it was
    }
    picture_ = std::move(resized);
  }
  RequestPaint();
}

void ClientArea::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RequestPaint();
}

}  // namespace zav::qt
