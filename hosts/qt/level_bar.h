#pragma once
// A smooth progress bar without text: a sunken frame filled from the left in proportion to
// the position within the range. The range may start above 0 (1000 to 2500, say); a position
// outside it shows as the nearer end. The fill colour can be set; it defaults to the palette's
// highlight. Drawn by itself, so the colour is exact whatever the style.

#include <QColor>
#include <QWidget>
#include <optional>

namespace zav::qt {

class LevelBar final : public QWidget {
 public:
  explicit LevelBar(QWidget* parent);

  void SetRange(int low, int high);
  void SetPosition(int position);
  void SetColour(QColor colour);

  int Low() const { return low_; }
  int High() const { return high_; }
  // The position as shown: brought into the range.
  int Position() const;
  QColor FillColour() const;
  // Width of the filled part inside the frame (px).
  int FilledWidth() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect Inside() const;

  int low_ = 0;  // a new bar runs 0 to 100, as the platform's does
  int high_ = 100;
  int position_ = 0;
  std::optional<QColor> colour_;
};

}  // namespace zav::qt
