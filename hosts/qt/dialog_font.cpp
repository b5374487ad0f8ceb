#include "hosts/qt/dialog_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <algorithm>

namespace zav::qt {

namespace {

constexpr int kLetterPairs = 26;  // a-z with A-Z

QString AllLetters() {
  QString letters;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    letters.append(QLatin1Char(letter));
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    letters.append(QLatin1Char(letter));
  }
  return letters;
}

}  // namespace

QFont ChooseDialogFont(const QString& setting) {
  QFont font = QApplication::font();
  QFont chosen = font;
  if (!setting.trimmed().isEmpty() && chosen.fromString(setting.trimmed())) {
    return chosen;
  }
  return font;
}

BaseUnits MeasureBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The width of all 52 letters over 52, to the nearest pixel: (width / 26 + 1) / 2.
  const int width = (metrics.horizontalAdvance(AllLetters()) / kLetterPairs + 1) / 2;
  return BaseUnits{std::max(1, width), std::max(1, metrics.height())};
}

}  // namespace zav::qt
