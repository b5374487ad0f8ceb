#include "hosts/qt/control_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolBar>
#include <algorithm>

#include "hosts/qt/canvas_control.h"
#include "hosts/qt/caption_label.h"
#include "hosts/qt/chart_controls.h"
#include "hosts/qt/control_text.h"
#include "hosts/qt/dialog_units.h"
#include "hosts/qt/level_bar.h"
#include "hosts/qt/toolbar_buttons.h"
#include "hosts/qt/vertical_slider.h"

namespace zav::qt {

namespace {

using K = ControlKind;

QLineEdit* CreateEdit(QWidget* client, Qt::Alignment alignment, bool readOnly) {
  auto* edit = new QLineEdit(client);
  edit->setAlignment(alignment | Qt::AlignVCenter);
  edit->setReadOnly(readOnly);
  // Tab goes from one thing the fitter can change to the next; a read-only value is still
  // reached with a click (to copy it).
  edit->setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);
  edit->setTextMargins(0, 0, 0, 0);
  if (readOnly) {
    // A read-only edit has the window's face colour behind its text, as on the platform.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    // Filled with that same colour before it draws, the edit counts as opaque: a new live
    // value repaints the edit alone, not the group box and captions behind it every tick.
    edit->setAutoFillBackground(true);
  }
  return edit;
}

QGroupBox* CreateGroupBox(QWidget* client) {
  auto* group = new QGroupBox(client);
  group->lower();  // behind the controls it frames, whatever the template order
  return group;
}

QComboBox* CreateDropDownList(QWidget* client, int controlId, const DeliverEvent& deliver) {
  auto* list = new QComboBox(client);
  list->setEditable(false);
  list->setInsertPolicy(QComboBox::InsertAtBottom);
  list->setFocusPolicy(Qt::StrongFocus);
  // `activated` comes from the user only (mouse or arrow keys), never from a selection the
  // program makes.
  QObject::connect(list, &QComboBox::activated, list, [controlId, deliver](int) {
    deliver(CommandEvent(controlId, kSelectionChange));
  });
  return list;
}

QPushButton* CreatePushButton(QWidget* client, int controlId, const DeliverEvent& deliver) {
  auto* button = new QPushButton(client);
  button->setAutoDefault(false);  // Enter reaches the dialog, not the focused button
  button->setDefault(false);
  button->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(button, &QPushButton::clicked, button,
                   [controlId, deliver] { deliver(CommandEvent(controlId)); });
  return button;
}

// `box` (px) is the control's place; a static text may grow down to `roomHeightPx`.
QWidget* CreateWidget(const ControlTemplate& control, QWidget* client, const DeliverEvent& deliver,
                      QRect box, int roomHeightPx) {
  switch (control.kind) {
    case K::ValueEdit:
      return CreateEdit(client, Qt::AlignRight, true);
    case K::StatusEdit:
      return CreateEdit(client, Qt::AlignHCenter, true);
    case K::NameEdit:
      return CreateEdit(client, Qt::AlignLeft, true);
    case K::InputEdit:
      return CreateEdit(client, Qt::AlignRight, false);
    case K::ProgressBar:
      return new LevelBar(client);
    case K::Label:
      return new CaptionLabel(client, box, roomHeightPx, Qt::AlignLeft | Qt::AlignTop);
    case K::UnitLabel:
      return new CaptionLabel(client, box, roomHeightPx, Qt::AlignLeft | Qt::AlignVCenter);
    case K::FieldLabel:
      return new CaptionLabel(client, box, roomHeightPx, Qt::AlignCenter);
    case K::GroupBox:
      return CreateGroupBox(client);
    case K::DropDownList:
      return CreateDropDownList(client, control.id, deliver);
    case K::PushButton:
      return CreatePushButton(client, control.id, deliver);
    case K::Toolbar:
      return CreateToolbar(client);
    case K::VerticalSlider:
      return CreateVerticalSlider(client, control.id, deliver);
    case K::CanvasControl:
      return new CanvasControl(client, control.id, deliver);
    case K::CheckBox:
      return CreateCheckBox(client, control.id, deliver);
    case K::HorizontalScrollBar:
      return CreateHorizontalScrollBar(client, control.id, deliver);
    case K::Table:
      return CreateTable(client);
  }
  return new QWidget(client);
}

// A drop-down list's rect gives the height with the list open; closed it is as high as the
// font needs, and the open list shows as many entries as the rest of that height holds.
QRect DropDownGeometry(QComboBox& list, const QRect& withListOpen) {
  const int closedHeight = std::min(list.sizeHint().height(), withListOpen.height());
  const int entryHeight = std::max(1, list.fontMetrics().height());
  list.setMaxVisibleItems(std::max(1, (withListOpen.height() - closedHeight) / entryHeight));
  return QRect(withListOpen.topLeft(), QSize(withListOpen.width(), closedHeight));
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& control, QWidget* client, const DeliverEvent& deliver,
                       BaseUnits units, int roomHeight) {
  QRect geometry = PixelRect(units, control.rect);
  QWidget* widget =
      CreateWidget(control, client, deliver, geometry, VerticalPixels(units, roomHeight));
  if (auto* list = dynamic_cast<QComboBox*>(widget)) {
    geometry = DropDownGeometry(*list, geometry);
  }
  if (control.fixedPitch) {
    // The system's fixed-pitch font at the dialog font's size; a platform without a theme
    // (offscreen, a bare X server) names none, so then whatever font matches "monospace".
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(fixed).fixedPitch()) {
      fixed = QFont(QStringLiteral("monospace"));
      fixed.setStyleHint(QFont::Monospace);
      fixed.setFixedPitch(true);
    }
    fixed.setPointSizeF(client->font().pointSizeF());
    if (auto* label = dynamic_cast<CaptionLabel*>(widget)) {
      label->KeepFont(fixed);
    } else {
      widget->setFont(fixed);
    }
  }
  widget->setGeometry(geometry);
  if (control.kind == K::CanvasControl || control.kind == K::HorizontalScrollBar) {
    FollowParentEdges(*widget, client->sizeHint(), control.kind == K::HorizontalScrollBar);
  }
  // Geometry first: whether a caption fits depends on the control's size.
  SetControlText(*widget, FromUtf8(control.text));
  return widget;
}

}  // namespace zav::qt
