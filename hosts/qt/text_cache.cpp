#include "hosts/qt/text_cache.h"

#include <QFontMetrics>
#include <QPainter>

#include "hosts/qt/control_text.h"

namespace zav::qt {

TextCache::Entry& TextCache::Find(std::string_view text, const QFont& font) {
  if (font != font_ || entries_.size() >= kMostTexts) {
    entries_.clear();
    font_ = font;
  }
  const std::string key(text);
  if (const auto found = entries_.find(key); found != entries_.end()) {
    return found->second;
  }
  const QString shown = FromUtf8(text);
  const QFontMetrics metrics(font);
  Entry entry{QStaticText(shown), QSize(metrics.horizontalAdvance(shown), metrics.height())};
  entry.text.setTextFormat(Qt::PlainText);
  entry.text.prepare(QTransform(), font);
  return entries_.emplace(key, std::move(entry)).first->second;
}

const TextCache::Entry& TextCache::Of(std::string_view text, const QFont& font) {
  return Find(text, font);
}

const TextCache::Entry& TextCache::PixelsOf(std::string_view text, const QFont& font,
                                            QColor colour) {
  Entry& entry = Find(text, font);
  if (entry.pixels.isNull() || entry.pixelsColour != colour.rgb()) {
    entry.pixels = QImage(entry.size + QSize(2 * kPixelsMargin, 2 * kPixelsMargin),
                          QImage::Format_ARGB32_Premultiplied);
    entry.pixels.fill(Qt::transparent);
    QPainter painter(&entry.pixels);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawStaticText(kPixelsMargin, kPixelsMargin, entry.text);
    entry.pixelsColour = colour.rgb();
  }
  return entry;
}

}  // namespace zav::qt
