#include "hosts/qt/toolbar_buttons.h"

#include <QAction>
#include <QString>
#include <QToolBar>
#include <array>

#include "hosts/qt/keyboard.h"

// The strip lives in a static library: naming its initialiser keeps the linker from
// dropping it. The macro declares a global function, so it must stand outside namespaces.
static void RegisterToolbarStrip() {
  Q_INIT_RESOURCE(toolbar);
}

namespace zav::qt {

namespace {

// The strip, in image order; compiled in from resources/toolbar.
constexpr std::array<const char*, kToolbarImageCount> kImagePaths{
    ":/toolbar/open.png", ":/toolbar/save.png", ":/toolbar/read.png",
    ":/toolbar/set.png",  ":/toolbar/edit.png",
};

}  // namespace

QIcon ToolbarImage(int index) {
  if (index < 0 || index >= kToolbarImageCount) {
    return {};
  }
  RegisterToolbarStrip();  // registering again changes nothing
  return QIcon(QString::fromLatin1(kImagePaths[static_cast<std::size_t>(index)]));
}

QToolBar* CreateToolbar(QWidget* parent) {
  auto* toolbar = new QToolBar(parent);
  toolbar->setMovable(false);
  toolbar->setFloatable(false);
  toolbar->setIconSize(QSize(kToolbarImageSize, kToolbarImageSize));
  toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  toolbar->setFocusPolicy(Qt::NoFocus);
  return toolbar;
}

void AddToolbarButtons(QToolBar& toolbar, std::span<const ToolbarButton> buttons,
                       const DeliverEvent& deliver) {
  for (const ToolbarButton& button : buttons) {
    QAction* action = toolbar.addAction(ToolbarImage(button.image), QString());
    const int commandId = button.commandId;
    action->setToolTip(ToolbarTip(commandId));
    QObject::connect(action, &QAction::triggered, &toolbar,
                     [deliver, commandId] { deliver(CommandEvent(commandId)); });
    if (QWidget* shown = toolbar.widgetForAction(action)) {
      shown->setFocusPolicy(Qt::NoFocus);  // toolbar buttons are no tab stops
    }
  }
}

}  // namespace zav::qt
