#include "hosts/qt/canvas_control.h"

#include <QBackingStore>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <array>
#include <optional>

#include "hosts/qt/painter_canvas.h"

namespace zav::qt {

namespace {

constexpr int kWheelNotch = 120;  // QWheelEvent's angle of one notch (1/8 degrees)

struct KeyName {
  int qtKey;
  Key key;
};
constexpr std::array<KeyName, 8> kKeys{{{Qt::Key_Left, Key::Left},
                                        {Qt::Key_Right, Key::Right},
                                        {Qt::Key_Up, Key::Up},
                                        {Qt::Key_Down, Key::Down},
                                        {Qt::Key_PageUp, Key::PageUp},
                                        {Qt::Key_PageDown, Key::PageDown},
                                        {Qt::Key_Home, Key::Home},
                                        {Qt::Key_End, Key::End}}};

std::optional<Key> KeyOf(int qtKey) {
  for (const KeyName& name : kKeys) {
    if (name.qtKey == qtKey) {
      return name.key;
    }
  }
  return std::nullopt;
}

// Watches the parent's resizes and moves the widget's edges with it.
class EdgeFollower final : public QObject {
 public:
  EdgeFollower(QWidget& widget, QSize parentSize, bool keepHeight)
      : QObject(&widget), widget_(widget), keepHeight_(keepHeight) {
    const QRect place = widget.geometry();
    rightGap_ = parentSize.width() - place.right();
    bottomGap_ = parentSize.height() - place.bottom();
    widget.parentWidget()->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_.parentWidget() && event->type() == QEvent::Resize) {
      const QSize parent = widget_.parentWidget()->size();
      QRect place = widget_.geometry();
      place.setRight(std::max(place.left(), parent.width() - rightGap_));
      if (keepHeight_) {
        place.moveBottom(std::max(place.height(), parent.height() - bottomGap_));
      } else {
        place.setBottom(std::max(place.top(), parent.height() - bottomGap_));
      }
      widget_.setGeometry(place);
    }
    return false;
  }

 private:
  QWidget& widget_;
  bool keepHeight_;
  int rightGap_ = 0;   // px
  int bottomGap_ = 0;  // px
};

}  // namespace

void FollowParentEdges(QWidget& widget, QSize templateParentSize, bool keepHeight) {
  new EdgeFollower(widget, templateParentSize, keepHeight);
}

CanvasControl::CanvasControl(QWidget* client, int controlId, DeliverEvent deliver)
    : QWidget(client), id_(controlId), deliver_(std::move(deliver)) {
  // The procedure paints every pixel: Qt need not clear the area first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

CanvasControl::~CanvasControl() = default;

Canvas* CanvasControl::Painting() const {
  return painting_.get();
}

void CanvasControl::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);  // Qt keeps the pixels outside the event's region
  painting_ = std::make_unique<PainterCanvas>(painter, &texts_);
  painting_->PaintOnly(event->region());
  deliver_({DialogMessage::Paint, id_, 0});
  painting_.reset();
  // A paint into a picture (grab) leaves the screen as it was, while the procedure now takes
  // what it drew for what is shown (a live chart moves those pixels on): the screen is
  // painted whole to match.
  QBackingStore* store = backingStore();
  const QPaintEngine* engine = painter.paintEngine();
  if (store != nullptr && engine != nullptr && engine->paintDevice() != store->paintDevice()) {
    update();
  }
}

void CanvasControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  deliver_({DialogMessage::Resize, id_, 0});
}

void CanvasControl::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  wheelRest_ += angle.y() != 0 ? angle.y() : angle.x();
  const int notches = wheelRest_ / kWheelNotch;
  wheelRest_ -= notches * kWheelNotch;
  if (notches != 0) {
    deliver_({DialogMessage::Wheel, id_, notches});
  }
  event->accept();
}

void CanvasControl::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint at = event->position().toPoint();
  deliver_({DialogMessage::Click, id_, 0, {at.x(), at.y()}});
}

void CanvasControl::keyPressEvent(QKeyEvent* event) {
  const std::optional<Key> key = KeyOf(event->key());
  if (!key || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
    QWidget::keyPressEvent(event);  // Escape and Enter go on to the dialog
    return;
  }
  deliver_({DialogMessage::Key, id_, static_cast<int>(*key)});
}

}  // namespace zav::qt
