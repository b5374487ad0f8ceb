#include "hosts/qt/qt_desktop.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QSlider>
#include <QToolBar>
#include <set>

#include "hosts/qt/backing_canvas.h"
#include "hosts/qt/client_area.h"
#include "hosts/qt/control_text.h"
#include "hosts/qt/dialog_font.h"
#include "hosts/qt/dialog_units.h"
#include "hosts/qt/dialog_window.h"
#include "hosts/qt/file_dialog.h"
#include "hosts/qt/level_bar.h"
#include "hosts/qt/message_box.h"
#include "hosts/qt/toolbar_buttons.h"
#include "hosts/qt/vertical_slider.h"

namespace zav {

namespace {

// A dialog's position counts from its owner's client area, or from the desktop's usable area
// when it has no owner (global px).
QPoint PositionOrigin(qt::DialogWindow* owner) {
  if (owner != nullptr) {
    return owner->Client().mapToGlobal(QPoint(0, 0));
  }
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry().topLeft() : QPoint(0, 0);
}

// Keeps the open-dialog table right however RunDialog is left.
class OpenDialogEntry {
 public:
  OpenDialogEntry(std::map<int, qt::DialogWindow*>& open, int id, qt::DialogWindow* window)
      : open_(open), id_(id) {
    open_[id_] = window;
  }
  ~OpenDialogEntry() { open_.erase(id_); }
  OpenDialogEntry(const OpenDialogEntry&) = delete;
  OpenDialogEntry& operator=(const OpenDialogEntry&) = delete;

 private:
  std::map<int, qt::DialogWindow*>& open_;
  int id_;
};

}  // namespace

QtDesktop::QtDesktop() : QtDesktop(qt::ChooseDialogFont(QString())) {}

QtDesktop::QtDesktop(const QFont& dialogFont)
    : dialogFont_(dialogFont), nowhere_(std::make_unique<qt::BackingCanvas>(nullptr)) {}

QtDesktop::~QtDesktop() {
  // Windows that are not modal and still open: a window that has an owner went with it.
  while (!modeless_.empty()) {
    delete *modeless_.begin();  // takes itself out of the set
  }
}

qt::DialogWindow* QtDesktop::Find(WindowRef window) const {
  const auto found = open_.find(window.id);
  return found == open_.end() ? nullptr : found->second;
}

template <typename Kind>
Kind* QtDesktop::Control(WindowRef window, int controlId) const {
  const qt::DialogWindow* dialog = Find(window);
  return dialog != nullptr ? dialog->Controls().As<Kind>(controlId) : nullptr;
}

QWidget* QtDesktop::WindowOf(WindowRef window) const {
  return Find(window);
}

QWidget* QtDesktop::ClientAreaOf(WindowRef window) const {
  qt::DialogWindow* dialog = Find(window);
  return dialog != nullptr ? &dialog->Client() : nullptr;
}

QPoint QtDesktop::PictureOriginOf(WindowRef window) const {
  const qt::DialogWindow* dialog = Find(window);
  return dialog != nullptr ? dialog->PictureOriginPx() : QPoint(0, 0);
}

QWidget* QtDesktop::ControlOf(WindowRef window, int controlId) const {
  return Control<QWidget>(window, controlId);
}

int QtDesktop::RunDialog(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) {
  const WindowRef self{nextWindowId_++};
  qt::DialogWindow* ownerWindow = Find(owner);
  qt::DialogWindow window(
      dialog, ownerWindow,
      [this, self, proc = std::move(proc)](const DialogEvent& event) { proc(*this, self, event); },
      dialogFont_);
  window.PlaceAt(PositionOrigin(ownerWindow) +
                 qt::PixelRect(window.Units(), dialog.rect).topLeft());
  const OpenDialogEntry entry(open_, self.id, &window);
  window.Deliver({DialogMessage::Init, 0, 0});
  return window.RunModal();
}

WindowRef QtDesktop::OpenWindow(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) {
  const WindowRef self{nextWindowId_++};
  qt::DialogWindow* ownerWindow = Find(owner);
  // Owned by the desktop until it ends: then it goes once its last event is handled.
  auto* window = new qt::DialogWindow(
      dialog, ownerWindow,
      [this, self, proc = std::move(proc)](const DialogEvent& event) { proc(*this, self, event); },
      dialogFont_);
  window->setModal(false);
  window->PlaceAt(PositionOrigin(ownerWindow) +
                  qt::PixelRect(window->Units(), dialog.rect).topLeft());
  open_[self.id] = window;
  modeless_.insert(window);
  QObject::connect(window, &QDialog::finished, window, [window] { window->deleteLater(); });
  // Gone, whether after its end or with its owner.
  QObject::connect(window, &QObject::destroyed, [this, self, window] {
    open_.erase(self.id);
    modeless_.erase(window);
  });
  window->Deliver({DialogMessage::Init, 0, 0});
  if (!window->HasEnded()) {
    window->show();
  }
  return self;
}

void QtDesktop::RaiseWindow(WindowRef window) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
  }
}

void QtDesktop::SetTitle(WindowRef window, std::string_view title) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->setWindowTitle(qt::FromUtf8(title));
  }
}

void QtDesktop::ShowControl(WindowRef window, int controlId, bool shown) {
  if (QWidget* control = ControlOf(window, controlId)) {
    control->setVisible(shown);
  }
}

void QtDesktop::EnableControl(WindowRef window, int controlId, bool enabled) {
  if (QWidget* control = ControlOf(window, controlId)) {
    control->setEnabled(enabled);
  }
}

void QtDesktop::EndDialog(WindowRef window, int result) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->End(result);
  }
}

void QtDesktop::SetTimer(WindowRef window, int timerId, int periodMs) {
  if (qt::DialogWindow* dialog = Find(window); dialog != nullptr && !dialog->HasEnded()) {
    dialog->Timers().Set(timerId, periodMs);
  }
}

void QtDesktop::KillTimer(WindowRef window, int timerId) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->Timers().Kill(timerId);
  }
}

void QtDesktop::SetText(WindowRef window, int controlId, std::string_view text) {
  if (QWidget* control = ControlOf(window, controlId)) {
    qt::SetControlText(*control, qt::FromUtf8(text));
  }
}

std::string QtDesktop::GetText(WindowRef window, int controlId) {
  const QWidget* control = ControlOf(window, controlId);
  return control != nullptr ? qt::ToUtf8(qt::ControlText(*control)) : std::string();
}

void QtDesktop::SetBarRange(WindowRef window, int controlId, int low, int high) {
  if (auto* bar = Control<qt::LevelBar>(window, controlId)) {
    bar->SetRange(low, high);
  }
}

void QtDesktop::SetBarPosition(WindowRef window, int controlId, int position) {
  if (auto* bar = Control<qt::LevelBar>(window, controlId)) {
    bar->SetPosition(position);
  }
}

void QtDesktop::SetBarColour(WindowRef window, int controlId, Colour colour) {
  if (auto* bar = Control<qt::LevelBar>(window, controlId)) {
    bar->SetColour(QColor(colour.red, colour.green, colour.blue));
  }
}

void QtDesktop::SetSliderRange(WindowRef window, int controlId, int low, int high) {
  if (auto* slider = Control<QSlider>(window, controlId)) {
    qt::SetVerticalSliderRange(*slider, low, high);
  }
}

void QtDesktop::SetSliderPosition(WindowRef window, int controlId, int position) {
  if (auto* slider = Control<QSlider>(window, controlId)) {
    slider->setValue(position);  // brought into the range by the slider itself
  }
}

// While the user drags or steps, the thumb's place is ahead of the slider's value until the
// movement's event has been handled; the procedure asks during that event.
int QtDesktop::GetSliderPosition(WindowRef window, int controlId) {
  const auto* slider = Control<QSlider>(window, controlId);
  return slider != nullptr ? slider->sliderPosition() : 0;
}

void QtDesktop::AddToolbarButtons(WindowRef window, int controlId,
                                  std::span<const ToolbarButton> buttons) {
  qt::DialogWindow* dialog = Find(window);
  auto* toolbar = Control<QToolBar>(window, controlId);
  if (dialog != nullptr && toolbar != nullptr) {
    qt::AddToolbarButtons(*toolbar, buttons,
                          [dialog](const DialogEvent& event) { dialog->Deliver(event); });
  }
}

void QtDesktop::AddListEntry(WindowRef window, int controlId, std::string_view entry) {
  if (auto* list = Control<QComboBox>(window, controlId)) {
    const bool noneSelected = list->currentIndex() < 0;
    list->addItem(qt::FromUtf8(entry));
    if (noneSelected) {
      list->setCurrentIndex(-1);  // a combo box selects its first entry by itself
    }
  }
}

void QtDesktop::SelectListEntry(WindowRef window, int controlId, int index) {
  if (auto* list = Control<QComboBox>(window, controlId)) {
    const bool inList = index >= 0 && index < list->count();
    list->setCurrentIndex(inList ? index : -1);
  }
}

int QtDesktop::SelectedListEntry(WindowRef window, int controlId) {
  const auto* list = Control<QComboBox>(window, controlId);
  return list != nullptr ? list->currentIndex() : -1;
}

MessageAnswer QtDesktop::ShowMessage(WindowRef owner, std::string_view text,
                                     std::string_view caption, MessageButtons buttons,
                                     MessageIcon icon) {
  return qt::RunMessageBox(Find(owner), text, caption, buttons, icon);
}

MessageAnswer QtDesktop::ShowMessageUntil(WindowRef owner, std::string_view text,
                                          std::string_view caption, MessageButtons buttons,
                                          MessageIcon icon, const std::function<bool()>& over) {
  return qt::RunMessageBoxUntil(Find(owner), text, caption, buttons, icon, over);
}

bool QtDesktop::AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                          std::string_view goOnLabel, MessageIcon icon) {
  return qt::RunGoOnQuestion(Find(owner), text, caption, goOnLabel, icon);
}

bool QtDesktop::NoticeWithAction(WindowRef owner, std::string_view text, std::string_view caption,
                                 std::string_view actionLabel, MessageIcon icon) {
  return qt::RunNoticeWithAction(Find(owner), text, caption, actionLabel, icon);
}

std::optional<std::string> QtDesktop::ChooseFileToOpen(WindowRef owner,
                                                       const FileDialogOptions& options) {
  return qt::RunFileDialog(Find(owner), qt::FileDialogPurpose::Open, options);
}

std::optional<std::string> QtDesktop::ChooseFileToSave(WindowRef owner,
                                                       const FileDialogOptions& options) {
  return qt::RunFileDialog(Find(owner), qt::FileDialogPurpose::Save, options);
}

Canvas& QtDesktop::CanvasOf(WindowRef window) {
  if (qt::DialogWindow* dialog = Find(window)) {
    return dialog->FreshCanvas();
  }
  return *nowhere_;
}

void QtDesktop::SetStatusLine(WindowRef window, std::string_view text) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->Extras().SetStatusSegments({qt::FromUtf8(text)});
  }
}

void QtDesktop::SetStatusSegments(WindowRef window, std::span<const std::string> segments) {
  if (qt::DialogWindow* dialog = Find(window)) {
    QStringList texts;
    for (const std::string& segment : segments) {
      texts.push_back(qt::FromUtf8(segment));
    }
    dialog->Extras().SetStatusSegments(texts);
  }
}

void QtDesktop::AddMenuItem(WindowRef window, std::string_view menuTitle, int commandId,
                            std::string_view text) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->Extras().AddMenuItem(qt::FromUtf8(menuTitle), commandId, qt::FromUtf8(text));
  }
}

void QtDesktop::SetMenuItemKey(WindowRef window, int commandId, std::string_view key) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->Extras().SetKey(commandId, QKeySequence(qt::FromUtf8(key), QKeySequence::PortableText));
  }
}

void QtDesktop::SetMenuItemChecked(WindowRef window, int commandId, bool checked) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->Extras().SetChecked(commandId, checked);
  }
}

void QtDesktop::SetMenuItemEnabled(WindowRef window, int commandId, bool enabled) {
  if (qt::DialogWindow* dialog = Find(window)) {
    dialog->Extras().SetEnabled(commandId, enabled);
  }
}

}  // namespace zav
