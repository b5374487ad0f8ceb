#include "hosts/qt/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "hosts/qt/control_text.h"
#include "platform/closed_answer.h"

namespace zav::qt {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

MessageAnswer AnswerOf(QMessageBox::StandardButton button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    default:
      return ClosedAnswer(buttons);
  }
}

}  // namespace

MessageAnswer RunMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                            MessageButtons buttons, MessageIcon icon) {
  return RunMessageBoxUntil(owner, text, caption, buttons, icon, nullptr);
}

MessageAnswer RunMessageBoxUntil(QWidget* owner, std::string_view text, std::string_view caption,
                                 MessageButtons buttons, MessageIcon icon,
                                 const std::function<bool()>& over) {
  QMessageBox box(IconOf(icon), FromUtf8(caption), FromUtf8(text), ButtonsOf(buttons), owner);
  box.setTextFormat(Qt::PlainText);
  if (buttons != MessageButtons::Ok) {
    box.setEscapeButton(buttons == MessageButtons::YesNo ? QMessageBox::No : QMessageBox::Cancel);
  }
  // Asked a few times per poll tick (150 ms), so the box goes with the tick that made it moot.
  QTimer check;
  if (over) {
    QObject::connect(&check, &QTimer::timeout, &box, [&box, &over] {
      if (over()) {
        box.reject();  // as the close box: no button clicked
      }
    });
    check.start(kOverCheckMs);
  }
  box.exec();
  return AnswerOf(box.standardButton(box.clickedButton()), buttons);
}

bool RunGoOnQuestion(QWidget* owner, std::string_view text, std::string_view caption,
                     std::string_view goOnLabel, MessageIcon icon) {
  QMessageBox box(IconOf(icon), FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton, owner);
  box.setTextFormat(Qt::PlainText);
  QPushButton* goOn = box.addButton(FromUtf8(goOnLabel), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == goOn;
}

bool RunNoticeWithAction(QWidget* owner, std::string_view text, std::string_view caption,
                         std::string_view actionLabel, MessageIcon icon) {
  QMessageBox box(IconOf(icon), FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton, owner);
  box.setTextFormat(Qt::PlainText);
  QPushButton* action = box.addButton(FromUtf8(actionLabel), QMessageBox::ActionRole);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return box.clickedButton() == action;
}

}  // namespace zav::qt
