#include "hosts/qt/window_extras.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace zav::qt {

namespace {

// Room around the status line's text (px), so it does not touch the frame.
constexpr int kStatusLineMargin = 3;

// A label that reports a left click as the window's kStatusLineClicked command.
class ClickableLine final : public QLabel {
 public:
  ClickableLine(QWidget* parent, DeliverEvent deliver)
      : QLabel(parent), deliver_(std::move(deliver)) {
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    setMargin(kStatusLineMargin);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
      deliver_(CommandEvent(kStatusLineClicked));
    }
    QLabel::mouseReleaseEvent(event);
  }

 private:
  DeliverEvent deliver_;
};

// '&' would mark a mnemonic; menu texts show it as it is.
QString Literal(const QString& text) {
  QString shown = text;
  return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

WindowExtras::WindowExtras(QWidget& window, QVBoxLayout& layout, DeliverEvent deliver)
    : window_(window), layout_(layout), deliver_(std::move(deliver)) {}

// Created on first use, so a window that never shows one keeps the template's size.
void WindowExtras::SetStatusLine(const QString& text) {
  if (statusLine_ == nullptr) {
    statusLine_ = new ClickableLine(&window_, deliver_);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout_.addWidget(statusLine_);
  }
  statusLine_->setText(text);
}

QMenu& WindowExtras::MenuTitled(const QString& title) {
  auto* bar = qobject_cast<QMenuBar*>(layout_.menuBar());
  if (bar == nullptr) {
    bar = new QMenuBar(&window_);
    bar->setNativeMenuBar(false);
    layout_.setMenuBar(bar);
  }
  for (QAction* action : bar->actions()) {
    if (action->menu() != nullptr && action->text() == Literal(title)) {
      return *action->menu();
    }
  }
  return *bar->addMenu(Literal(title));
}

void WindowExtras::AddMenuItem(const QString& menuTitle, int commandId, const QString& text) {
  QAction* action = MenuTitled(menuTitle).addAction(Literal(text));
  QObject::connect(action, &QAction::triggered, &window_,
                   [deliver = deliver_, commandId] { deliver(CommandEvent(commandId)); });
  items_[commandId] = action;
}

QAction* WindowExtras::MenuItem(int commandId) const {
  const auto found = items_.find(commandId);
  return found == items_.end() ? nullptr : found->second;
}

void WindowExtras::SetChecked(int commandId, bool checked) {
  if (QAction* action = MenuItem(commandId)) {
    action->setCheckable(true);
    action->setChecked(checked);
  }
}

void WindowExtras::SetEnabled(int commandId, bool enabled) {
  if (QAction* action = MenuItem(commandId)) {
    action->setEnabled(enabled);
  }
}

}  // namespace zav::qt
