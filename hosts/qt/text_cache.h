#pragma once
// Texts a canvas control draws again and again (tick labels, units, legend names), laid out
// once: their measured size and their glyphs, kept across paints, and their pixels in the
// colour last asked for. A chart's redraw then shapes no text it drew before and, on a 1:1
// screen, copies each text's pixels rather than drawing its glyphs one by one (a tenth of
// the cost: texts were half of a live chart's redraw). A new font empties the cache, and so
// does a cache grown past kMostTexts (a long session's changing labels).

#include <QColor>
#include <QFont>
#include <QImage>
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
    QSize size;     // px: the advance and the font's line height
    QImage pixels;  // the text in `pixelsColour` on a transparent ground, kPixelsMargin round
    QRgb pixelsColour = 0;
  };

  static constexpr std::size_t kMostTexts = 512;
  // Room round a text's pixels for glyphs reaching past its advance or line (px).
  static constexpr int kPixelsMargin = 2;

  // The text laid out in `font`.
  const Entry& Of(std::string_view text, const QFont& font);
  // The same with its pixels in `colour` at 1 device pixel a pixel.
  const Entry& PixelsOf(std::string_view text, const QFont& font, QColor colour);

 private:
  Entry& Find(std::string_view text, const QFont& font);

  QFont font_;
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace zav::qt
