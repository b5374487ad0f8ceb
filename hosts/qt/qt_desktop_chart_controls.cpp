// The Qt desktop's canvas controls, check boxes, scroll bars, tables and saved pictures.

#include <QCheckBox>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>

#include "hosts/qt/canvas_control.h"
#include "hosts/qt/chart_controls.h"
#include "hosts/qt/control_text.h"
#include "hosts/qt/dialog_window.h"
#include "hosts/qt/painter_canvas.h"
#include "hosts/qt/qt_desktop.h"

namespace zav {

namespace {

template <typename Kind>
Kind* As(QWidget* widget) {
  return dynamic_cast<Kind*>(widget);
}

}  // namespace

Canvas& QtDesktop::ControlCanvas(WindowRef window, int controlId) {
  if (auto* control = As<qt::CanvasControl>(ControlOf(window, controlId))) {
    if (Canvas* painting = control->Painting()) {
      return *painting;
    }
  }
  return *nowhere_;
}

void QtDesktop::Redraw(WindowRef window, int controlId) {
  if (QWidget* control = ControlOf(window, controlId)) {
    control->update();
  }
}

void QtDesktop::RedrawPart(WindowRef window, int controlId, PixelBox part) {
  if (QWidget* control = ControlOf(window, controlId)) {
    control->update(part.left, part.top, part.Width(), part.Height());
  }
}

void QtDesktop::ScrollPart(WindowRef window, int controlId, PixelBox box, int dx) {
  if (QWidget* control = ControlOf(window, controlId)) {
    // An opaque widget's pixels move within the window's image; Qt asks a paint of what the
    // move uncovers and of any part still waiting for its paint.
    control->scroll(dx, 0, QRect(box.left, box.top, box.Width(), box.Height()));
  }
}

PixelSize QtDesktop::ControlSize(WindowRef window, int controlId) {
  const QWidget* control = ControlOf(window, controlId);
  return control != nullptr ? PixelSize{control->width(), control->height()} : PixelSize{};
}

void QtDesktop::SetChecked(WindowRef window, int controlId, bool checked) {
  if (auto* box = As<QCheckBox>(ControlOf(window, controlId))) {
    box->setChecked(checked);
  }
}

bool QtDesktop::IsChecked(WindowRef window, int controlId) {
  const auto* box = As<QCheckBox>(ControlOf(window, controlId));
  return box != nullptr && box->isChecked();
}

void QtDesktop::SetScrollBar(WindowRef window, int controlId, ScrollBarState state) {
  if (auto* bar = As<QScrollBar>(ControlOf(window, controlId))) {
    qt::SetScrollBarState(*bar, state);
  }
}

int QtDesktop::GetScrollPosition(WindowRef window, int controlId) {
  const auto* bar = As<QScrollBar>(ControlOf(window, controlId));
  return bar != nullptr ? bar->value() : 0;
}

void QtDesktop::SetTable(WindowRef window, int controlId, const TableText& table) {
  if (auto* widget = As<QTableWidget>(ControlOf(window, controlId))) {
    qt::SetTableText(*widget, table);
  }
}

std::string QtDesktop::SavePicture(const std::string& path, PixelSize size,
                                   const std::function<void(Canvas&)>& draw) {
  QImage picture(std::max(size.width, 1), std::max(size.height, 1), QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    painter.setFont(dialogFont_);
    qt::PainterCanvas canvas(painter);
    draw(canvas);
  }
  QImageWriter writer(qt::FromUtf8(path), "png");
  if (!writer.write(picture)) {
    return "The picture could not be saved as " + path + ": " + qt::ToUtf8(writer.errorString()) +
           ". Choose another folder or file name.";
  }
  return {};
}

}  // namespace zav
