#include "hosts/qt/control_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "hosts/qt/caption_label.h"

namespace zav::qt {

namespace {

// Room a push button or a group box frame keeps beside its caption (px, both sides).
constexpr int kButtonCaptionMarginPx = 8;
constexpr int kGroupCaptionMarginPx = 16;

QString WithoutMnemonics(const QString& text) {
  QString escaped = text;
  return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString WithMnemonicsUndone(const QString& text) {
  QString plain = text;
  return plain.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

bool FitsOneLine(const QWidget& control, const QString& text, int marginPx) {
  return control.fontMetrics().horizontalAdvance(text) <= control.width() - marginPx;
}

// A label wraps at word boundaries like a static text; it fits when every line is within its
// width and all lines within its height.
bool FitsWrapped(const QLabel& label, const QString& text) {
  const QRect room = label.contentsRect();
  const QRect needed = label.fontMetrics().boundingRect(
      QRect(room.topLeft(), QSize(room.width(), QWIDGETSIZE_MAX)),
      static_cast<int>(label.alignment()) | Qt::TextWordWrap, text);
  return needed.width() <= room.width() && needed.height() <= room.height();
}

void ShowFullTextWhenCut(QWidget& control, const QString& text, bool fits) {
  control.setToolTip(fits ? QString() : text);
}

}  // namespace

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
  return text.toStdString();
}

void SetControlText(QWidget& control, const QString& text) {
  if (auto* edit = dynamic_cast<QLineEdit*>(&control)) {
    // The live values are set every 150 ms tick and mostly repeat: an edit given its own
    // text again is not laid out and painted again.
    if (edit->text() != text) {
      edit->setText(text);
    }
    edit->setCursorPosition(0);
  } else if (auto* caption = dynamic_cast<CaptionLabel*>(&control)) {
    caption->SetCaption(text);
    ShowFullTextWhenCut(*caption, text, caption->Fits());
  } else if (auto* label = dynamic_cast<QLabel*>(&control)) {
    label->setText(text);
    ShowFullTextWhenCut(*label, text, FitsWrapped(*label, text));
  } else if (auto* button = dynamic_cast<QAbstractButton*>(&control)) {
    button->setText(WithoutMnemonics(text));
    ShowFullTextWhenCut(*button, text, FitsOneLine(*button, text, kButtonCaptionMarginPx));
  } else if (auto* group = dynamic_cast<QGroupBox*>(&control)) {
    group->setTitle(WithoutMnemonics(text));
    ShowFullTextWhenCut(*group, text, FitsOneLine(*group, text, kGroupCaptionMarginPx));
  }
}

QString ControlText(const QWidget& control) {
  if (const auto* edit = dynamic_cast<const QLineEdit*>(&control)) {
    return edit->text();
  }
  if (const auto* label = dynamic_cast<const QLabel*>(&control)) {
    return label->text();
  }
  if (const auto* button = dynamic_cast<const QAbstractButton*>(&control)) {
    return WithMnemonicsUndone(button->text());
  }
  if (const auto* group = dynamic_cast<const QGroupBox*>(&control)) {
    return WithMnemonicsUndone(group->title());
  }
  if (const auto* list = dynamic_cast<const QComboBox*>(&control)) {
    return list->currentText();
  }
  return {};
}

}  // namespace zav::qt
