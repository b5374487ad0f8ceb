#pragma once
// Texts a canvas control draws again and again (tick labels, units, legend names), laid out
// once: their measured size and their glyphs, kept across paints. A chart's redraw then
// shapes no text it drew before; a new font empties the cache, and so does a cache grown past
// kMostTexts (a long session's changing labels).

#include <QFont>
#include <QSize>
#include <QStaticText>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zav::qt {

class TextCache {
 public:
  struct Entry {
    QStaticText text;
    QSize size;  // px: the advance and the font's line height
  };

  static constexpr std::size_t kMostTexts = 512;

  // The text laid out in `font`.
  const Entry& Of(std::string_view text, const QFont& font);

 private:
  QFont font_;
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace zav::qt
