#include "hosts/qt/dialog_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "hosts/qt/client_area.h"
#include "hosts/qt/control_text.h"
#include "hosts/qt/dialog_font.h"
#include "hosts/qt/dialog_units.h"
#include "hosts/qt/menu_bar.h"

namespace zav::qt {

namespace {

// A window with minimise or maximise box is a full window, so window managers offer those
// boxes; others are plain dialogs. All have a title, a system menu and a close box.
Qt::WindowFlags FrameFlags(const DialogTemplate& dialog) {
  const bool boxes = dialog.minimizeBox || dialog.maximizeBox;
  Qt::WindowFlags flags = boxes ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
  if (dialog.minimizeBox) {
    flags |= Qt::WindowMinimizeButtonHint;
  }
  if (dialog.maximizeBox) {
    flags |= Qt::WindowMaximizeButtonHint;
  }
  return flags;
}

bool IsPlainKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  return modifiers == Qt::NoModifier;
}

}  // namespace

DialogWindow::DialogWindow(const DialogTemplate& dialog, QWidget* owner, DeliverEvent deliver,
                           const QFont& font)
    : QDialog(owner, FrameFlags(dialog)),
      deliver_(std::move(deliver)),
      units_(MeasureBaseUnits(font)),
      pictureOrigin_(PictureOrigin(units_, dialog.fixedPixelPicture)),
      timers_(this, [this](int timerId) {
        Deliver({DialogMessage::Timer, timerId, 0});
      }) {
  setWindowTitle(FromUtf8(dialog.title));
  setFont(font);
  setSizeGripEnabled(false);
  BuildFrame(dialog);
  controls_ = std::make_unique<DialogControls>(dialog, client_, deliver_, units_);
}

DialogWindow::~DialogWindow() = default;

// Menu bar on top, client area below it; a window without sizing border keeps its size.
void DialogWindow::BuildFrame(const DialogTemplate& dialog) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (dialog.menuId != 0) {
    layout->setMenuBar(CreateMenuBar(dialog.menuId, this, deliver_));
  }
  client_ = new ClientArea(PixelSize(units_, dialog.rect), dialog.sizingBorder, this, [this] {
    Deliver({DialogMessage::Paint, 0, 0});
  });
  layout->addWidget(client_);
  resizable_ = dialog.sizingBorder;
  layout->setSizeConstraint(dialog.sizingBorder ? QLayout::SetDefaultConstraint
                                                : QLayout::SetFixedSize);
  resize(sizeHint());
  extras_ = std::make_unique<WindowExtras>(*this, *layout, deliver_);
}

void DialogWindow::Deliver(const DialogEvent& event) {
  if (deliver_) {
    deliver_(event);
  }
}

void DialogWindow::PlaceAt(QPoint position) {
  move(position);
  KeepOnScreen();
}

// On the screen it opens on, whatever the template asks: a window larger than the screen's
// usable area (a big template on a small or scaled screen) shrinks to it if it may be
// resized, and its top-left corner moves in so that as much of it as fits is seen. Done
// again once shown, when the window system has told the frame's borders and title.
void DialogWindow::KeepOnScreen() {
  const QPoint position = pos();
  const QScreen* screen = QGuiApplication::screenAt(position);
  screen = screen != nullptr ? screen : QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return;
  }
  const QRect area = screen->availableGeometry();
  const QSize frame = frameGeometry().size() - size();
  if (resizable_) {
    resize(std::min(width(), area.width() - frame.width()),
           std::min(height(), area.height() - frame.height()));
  }
  const QSize outer = size() + frame;
  move(std::clamp(position.x(), area.left(),
                  std::max(area.left(), area.right() + 1 - outer.width())),
       std::clamp(position.y(), area.top(),
                  std::max(area.top(), area.bottom() + 1 - outer.height())));
}

int DialogWindow::RunModal() {
  if (ended_) {
    return result();
  }
  return exec();
}

void DialogWindow::End(int result) {
  ended_ = true;
  timers_.KillAll();
  done(result);
}

BackingCanvas& DialogWindow::FreshCanvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<BackingCanvas>(client_, pictureOrigin_);
  }
  canvas_->Reset();
  return *canvas_;
}

void DialogWindow::accept() {
  Deliver(CommandEvent(kCommandEnter));
}

void DialogWindow::reject() {
  Deliver(CommandEvent(kCommandEscape));
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (IsPlainKey(*event) && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    accept();
  } else if (IsPlainKey(*event) && key == Qt::Key_Escape) {
    reject();
  } else {
    QDialog::keyPressEvent(event);
  }
}

// The close box asks; the procedure decides.
void DialogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (!ended_) {
    Deliver({DialogMessage::Close, 0, 0});
  }
}

void DialogWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  KeepOnScreen();
  if (QWindow* window = windowHandle()) {
    window->installEventFilter(this);  // to see the window system's expose events
  }
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    client_->RequestPaint();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zav::qt
