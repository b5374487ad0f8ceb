#include "hosts/qt/window_extras.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "hosts/qt/keyboard.h"
#include "hosts/qt/status_segments.h"

namespace zav::qt {

WindowExtras::WindowExtras(QWidget& window, QVBoxLayout& layout, DeliverEvent deliver)
    : window_(window), layout_(layout), deliver_(std::move(deliver)) {}

// Created on first use, so a window that never shows one keeps the template's size.
void WindowExtras::SetStatusSegments(const QStringList& texts) {
  const bool first = statusLine_ == nullptr;
  if (first) {
    statusLine_ = new StatusSegments(&window_, deliver_);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    layout_.addWidget(statusLine_);
  }
  statusLine_->SetSegments(texts);
  if (first) {
    GrowForStatusLine();
  }
}

// A window of fixed size takes its size from the layout, the line included. A resizable one
// would give the line the bottom of its client area, over the template's lowest controls
// (the progress dialog's Cancel); it grows by the line's height (px) instead, so the client
// area keeps its size. A maximized window has no room to grow into.
void WindowExtras::GrowForStatusLine() {
  if (layout_.sizeConstraint() == QLayout::SetFixedSize || window_.isMaximized() ||
      window_.isFullScreen()) {
    return;
  }
  const int lineHeight = statusLine_->sizeHint().expandedTo(statusLine_->minimumSize()).height();
  window_.resize(window_.width(), window_.height() + lineHeight);
}

QMenu& WindowExtras::MenuTitled(const QString& title) {
  auto* bar = qobject_cast<QMenuBar*>(layout_.menuBar());
  if (bar == nullptr) {
    bar = new QMenuBar(&window_);
    bar->setNativeMenuBar(false);
    layout_.setMenuBar(bar);
    AddMenuBarKey(window_, *bar);
  }
  for (QAction* action : bar->actions()) {
    if (action->menu() != nullptr && action->text() == MenuTitleWithMnemonic(title)) {
      return *action->menu();
    }
  }
  return *bar->addMenu(MenuTitleWithMnemonic(title));
}

void WindowExtras::AddMenuItem(const QString& menuTitle, int commandId, const QString& text) {
  // The text's '&' marks its mnemonic, as Qt's own menus read it.
  QAction* action = MenuTitled(menuTitle).addAction(text);
  QObject::connect(action, &QAction::triggered, &window_,
                   [deliver = deliver_, commandId] { deliver(CommandEvent(commandId)); });
  items_[commandId] = action;
}

QAction* WindowExtras::MenuItem(int commandId) const {
  const auto found = items_.find(commandId);
  return found == items_.end() ? nullptr : found->second;
}

void WindowExtras::SetKey(int commandId, const QKeySequence& key) {
  if (QAction* action = MenuItem(commandId)) {
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
  }
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
