#include "hosts/qt/menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "hosts/qt/control_text.h"
#include "hosts/qt/keyboard.h"
#include "resources/menu.h"

namespace zav::qt {

namespace {

// '&' would mark a mnemonic; menu texts show it as it is.
QString Literal(std::string_view text) {
  return FromUtf8(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

QMenuBar* CreateMenuBar(int menuId, QWidget* parent, const DeliverEvent& deliver) {
  auto* bar = new QMenuBar(parent);
  bar->setNativeMenuBar(false);
  for (const Menu& menu : MenuBar(menuId)) {
    QMenu* dropDown = bar->addMenu(MenuTitleWithMnemonic(FromUtf8(menu.title)));
    for (const MenuItem& item : menu.items) {
      QAction* action = dropDown->addAction(Literal(item.text));
      const int commandId = item.commandId;
      AddShortcut(*action, commandId);
      QObject::connect(action, &QAction::triggered, bar,
                       [deliver, commandId] { deliver(CommandEvent(commandId)); });
    }
  }
  if (parent != nullptr) {
    AddMenuBarKey(*parent, *bar);
  }
  return bar;
}

}  // namespace zav::qt
