#pragma once
// A static text of a template. Its caption wraps at word boundaries within the box; a
// caption that needs more lines than the box holds takes the room the template leaves below
// it (see caption_room.h), and one still too wide is drawn narrower (condensed) rather than
// cut. What cannot be shown whole even then carries its full text as a tooltip.

#include <QLabel>
#include <optional>

namespace zav::qt {

class CaptionLabel final : public QLabel {
 public:
  // `box` is the template's rectangle (px); `roomHeightPx` the height it may grow to.
  CaptionLabel(QWidget* client, QRect box, int roomHeightPx, Qt::Alignment alignment);

  void SetCaption(const QString& text);
  // The caption in `font` rather than the dialog's (a fixed-pitch one, say), still drawn
  // narrower when too wide.
  void KeepFont(const QFont& font);
  // Whether the whole caption shows.
  bool Fits() const;

 private:
  QSize NeededFor(int width) const;
  QFont BaseFont() const;
  void ResetFont();

  QRect box_;  // px
  int roomHeightPx_;
  std::optional<QFont> ownFont_;
};

}  // namespace zav::qt
