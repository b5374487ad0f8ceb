#include "hosts/qt/text_cache.h"

#include <QFontMetrics>

#include "hosts/qt/control_text.h"

namespace zav::qt {

const TextCache::Entry& TextCache::Of(std::string_view text, const QFont& font) {
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

}  // namespace zav::qt
