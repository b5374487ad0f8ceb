#pragma once
// The text of a control, whatever its kind: an edit's contents, a label's, button's or group
// box's caption, a list's shown entry. Texts are UTF-8 and shown literally ('&' is no
// mnemonic). A caption that does not fit its control carries its full text as a tooltip.

#include <QString>
#include <string>
#include <string_view>

class QWidget;

namespace zav::qt {

QString FromUtf8(std::string_view text);
std::string ToUtf8(const QString& text);

// Controls without a text (bars, sliders, toolbars) ignore it.
void SetControlText(QWidget& control, const QString& text);
QString ControlText(const QWidget& control);

}  // namespace zav::qt
