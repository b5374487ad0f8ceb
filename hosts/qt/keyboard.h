#pragma once
// What the window host adds for a fitter without a mouse: menu mnemonics (Alt and the
// title's first letter), F10 for the menu bar, shortcut keys for the commonest commands,
// tooltips that name a toolbar button's command and key, and Escape for the windows that
// have no Cancel of their own. Nothing here changes a text the window shows.

#include <QKeySequence>
#include <QString>

class QAction;
class QMenuBar;
class QWidget;

namespace zav::qt {

// The key of a command (menu item or toolbar button); an empty sequence when it has none.
QKeySequence ShortcutOf(int commandId);

// A menu title with its first letter as mnemonic ("&File"); '&' in the title shows as is.
QString MenuTitleWithMnemonic(QString title);

// Gives a menu item its key, if its command has one.
void AddShortcut(QAction& item, int commandId);

// "Read from ZAV (Ctrl+R)": the command's menu text and its key.
QString ToolbarTip(int commandId);

// F10 in `window` opens the first menu of `bar`.
void AddMenuBarKey(QWidget& window, QMenuBar& bar);

// Escape in `window` closes it as its close box does.
void CloseOnEscape(QWidget& window);

}  // namespace zav::qt
