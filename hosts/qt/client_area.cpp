#include "hosts/qt/client_area.h"

#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace zav::qt {

namespace {

// A picture of `size` logical pixels at the screen's resolution: `ratio` device pixels to a
// logical one, so what is drawn into it is shown without being enlarged.
QImage EmptyPicture(QSize size, qreal ratio) {
  const QSize logical = size.expandedTo(QSize(1, 1));
  QImage picture((QSizeF(logical) * ratio).toSize().expandedTo(QSize(1, 1)),
                 QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  return picture;
}

}  // namespace

ClientArea::ClientArea(QSize size, bool resizable, QWidget* parent,
                       std::function<void()> deliverPaint)
    : QWidget(parent), templateSize_(size), deliverPaint_(std::move(deliverPaint)) {
  if (resizable) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(0, 0);
  } else {
    setFixedSize(size);
  }
  resize(size);
}

QImage& ClientArea::Picture() {
  if (picture_.isNull()) {
    picture_ = EmptyPicture(size(), devicePixelRatioF());
  }
  blank_ = false;
  return picture_;
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
  if (!picture_.isNull() && picture_.devicePixelRatio() != devicePixelRatioF()) {
    // On a screen of another scale: the picture is drawn afresh at its resolution.
    picture_ = EmptyPicture(size(), devicePixelRatioF());
    blank_ = true;
    paintRequested_ = true;
  }
  if (paintRequested_) {
    paintRequested_ = false;
    RedrawInto(event->region());
  }
  if (!blank_) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);  // clipped to what is repainted
  }
}

// What the window system asks for starts blank, as an erased background does; then the
// procedure draws its picture afresh.
void ClientArea::RedrawInto(const QRegion& region) {
  if (!picture_.isNull()) {
    QPainter eraser(&picture_);
    eraser.setCompositionMode(QPainter::CompositionMode_Clear);
    for (const QRect& rect : region) {
      eraser.fillRect(rect, Qt::transparent);
    }
  }
  if ((QRegion(rect()) - region).isEmpty()) {
    blank_ = true;
  }
  delivering_ = true;
  deliverPaint_();
  delivering_ = false;
}

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!picture_.isNull() && picture_.deviceIndependentSize().toSize() != size() &&
      !size().isEmpty()) {
    QImage resized = EmptyPicture(size(), picture_.devicePixelRatio());
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
