#pragma once
// What the program adds around a window built from a template: a status line below the
// client area and menu items after the template's own. The template's controls keep their
// places; the window grows by the status line's height.

#include <QString>
#include <QStringList>
#include <map>

#include "hosts/qt/event_delivery.h"

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class QVBoxLayout;
class QWidget;

namespace zav::qt {

class StatusSegments;

class WindowExtras {
 public:
  // `layout` holds the window's menu bar (if any) and client area; `window` is their parent.
  WindowExtras(QWidget& window, QVBoxLayout& layout, DeliverEvent deliver);

  // The status line's segments, left to right (status_segments.h).
  void SetStatusSegments(const QStringList& texts);
  void AddMenuItem(const QString& menuTitle, int commandId, const QString& text);
  void SetKey(int commandId, const QKeySequence& key);
  void SetChecked(int commandId, bool checked);
  void SetEnabled(int commandId, bool enabled);

  // For tests; nullptr until first used.
  StatusSegments* StatusLine() const { return statusLine_; }
  QAction* MenuItem(int commandId) const;

 private:
  QMenu& MenuTitled(const QString& title);
  void GrowForStatusLine();

  QWidget& window_;
  QVBoxLayout& layout_;
  DeliverEvent deliver_;
  StatusSegments* statusLine_ = nullptr;  // a child of the window
  std::map<int, QAction*> items_;         // by command id; owned by their menus
};

}  // namespace zav::qt
