#include "hosts/qt/keyboard.h"

#include <QAction>
#include <QMenuBar>
#include <QShortcut>
#include <QWidget>
#include <array>

#include "hosts/qt/control_text.h"
#include "resources/menu.h"

namespace zav::qt {

namespace {

struct CommandKey {
  int commandId = 0;
  QKeySequence::StandardKey key = QKeySequence::UnknownKey;
  const char* fixed = "";  // used where the platform has no standard key for it
};

constexpr std::array kCommandKeys{
    CommandKey{kCommandOpen, QKeySequence::Open, ""},
    CommandKey{kCommandSave, QKeySequence::Save, ""},
    CommandKey{kCommandReadFromZav, QKeySequence::UnknownKey, "Ctrl+R"},
};

// The text of the main menu's item for the command; empty when none has it.
QString MenuTextOf(int commandId) {
  for (const Menu& menu : MenuBar(kMainMenuId)) {
    for (const MenuItem& item : menu.items) {
      if (item.commandId == commandId) {
        return FromUtf8(item.text);
      }
    }
  }
  return {};
}

}  // namespace

QKeySequence ShortcutOf(int commandId) {
  for (const CommandKey& entry : kCommandKeys) {
    if (entry.commandId != commandId) {
      continue;
    }
    if (entry.key != QKeySequence::UnknownKey) {
      return QKeySequence(entry.key);
    }
    return QKeySequence(QString::fromLatin1(entry.fixed), QKeySequence::PortableText);
  }
  return {};
}

QString MenuTitleWithMnemonic(QString title) {
  title.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return title.isEmpty() ? title : QLatin1Char('&') + title;
}

void AddShortcut(QAction& item, int commandId) {
  const QKeySequence key = ShortcutOf(commandId);
  if (!key.isEmpty()) {
    item.setShortcut(key);
    item.setShortcutContext(Qt::WindowShortcut);
  }
}

QString ToolbarTip(int commandId) {
  const QString text = MenuTextOf(commandId);
  const QKeySequence key = ShortcutOf(commandId);
  if (key.isEmpty()) {
    return text;
  }
  return QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText));
}

void AddMenuBarKey(QWidget& window, QMenuBar& bar) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F10), &window);
  QObject::connect(key, &QShortcut::activated, &bar, [&bar] {
    const QList<QAction*> menus = bar.actions();
    if (!menus.isEmpty()) {
      bar.setFocus(Qt::MenuBarFocusReason);
      bar.setActiveAction(menus.first());
    }
  });
}

void CloseOnEscape(QWidget& window) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
  QObject::connect(key, &QShortcut::activated, &window, [&window] { window.close(); });
}

}  // namespace zav::qt
