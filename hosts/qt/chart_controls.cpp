#include "hosts/qt/chart_controls.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableWidget>
#include <cstdlib>
#include <optional>

#include "hosts/qt/control_text.h"

namespace zav::qt {

namespace {

std::optional<ScrollCode> CodeOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollCode::LineBack;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollCode::LineOn;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollCode::PageBack;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollCode::PageOn;
    case QAbstractSlider::SliderMove:
      return ScrollCode::ThumbTrack;
    case QAbstractSlider::SliderToMinimum:
      return ScrollCode::ToStart;
    case QAbstractSlider::SliderToMaximum:
      return ScrollCode::ToEnd;
    default:
      return std::nullopt;
  }
}

DialogEvent ScrollEvent(int controlId, ScrollCode code) {
  return {DialogMessage::HorizontalScroll, controlId, static_cast<int>(code)};
}

// A scroll bar that paints a look it painted before from a copy of its pixels. A live chart
// moves its bar's range on about once a second, which repaints the bar (its style's
// gradients cost about a fifth of a chart's redraw), though the handle mostly stays on its
// pixels. While the mouse is away the style draws nothing else that could change.
class KeptScrollBar final : public QScrollBar {
 public:
  KeptScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (underMouse() || isSliderDown()) {
      QScrollBar::paintEvent(event);
      return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    const Look look = LookOf(option);
    if (look != kept_ || pixels_.isNull()) {
      pixels_ = QPixmap(size() * devicePixelRatioF());
      pixels_.setDevicePixelRatio(devicePixelRatioF());
      pixels_.fill(Qt::transparent);
      QPainter painter(&pixels_);
      style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
      kept_ = look;
    }
    QPainter(this).drawPixmap(0, 0, pixels_);
  }

 private:
  // All the style's drawing depends on, but the numbers it does not show.
  struct Look {
    QRect rect;
    QRect handle;
    QStyle::State state;
    bool atStart = false;
    bool atEnd = false;
    qint64 palette = 0;
    qreal ratio = 0.0;
    friend bool operator==(const Look&, const Look&) = default;
  };

  Look LookOf(const QStyleOptionSlider& option) const {
    return {
        option.rect,
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
        option.state,
        option.sliderValue == option.minimum,
        option.sliderValue == option.maximum,
        palette().cacheKey(),
        devicePixelRatioF()};
  }

  Look kept_;
  QPixmap pixels_;
};

}  // namespace

QCheckBox* CreateCheckBox(QWidget* client, int controlId, const DeliverEvent& deliver) {
  auto* box = new QCheckBox(client);
  box->setFocusPolicy(Qt::StrongFocus);
  // `clicked` comes from the user only, never from SetChecked.
  QObject::connect(box, &QCheckBox::clicked, box,
                   [controlId, deliver] { deliver(CommandEvent(controlId)); });
  return box;
}

QScrollBar* CreateHorizontalScrollBar(QWidget* client, int controlId, const DeliverEvent& deliver) {
  auto* bar = new KeptScrollBar(Qt::Horizontal, client);
  bar->setFocusPolicy(Qt::NoFocus);  // the keys move the canvas beside it
  bar->setTracking(true);
  // The action comes before the value is taken over: the bar takes it first, so the
  // procedure reads the new place, as the other hosts give it.
  QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                   [bar, controlId, deliver](int action) {
                     if (const std::optional<ScrollCode> code = CodeOf(action)) {
                       bar->setValue(bar->sliderPosition());
                       deliver(ScrollEvent(controlId, *code));
                     }
                   });
  QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [controlId, deliver] {
    deliver(ScrollEvent(controlId, ScrollCode::ThumbPosition));
  });
  return bar;
}

QTableWidget* CreateTable(QWidget* client) {
  auto* table = new QTableWidget(client);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->verticalHeader()->setVisible(false);
  // Rows as high as a line of text needs, so a table of cells shows many at once.
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->horizontalHeader()->setStretchLastSection(true);
  table->setFocusPolicy(Qt::ClickFocus);
  return table;
}

void SetScrollBarState(QScrollBar& bar, ScrollBarState state) {
  const QSignalBlocker quiet(&bar);
  bar.setRange(state.low, std::max(state.low, state.high));
  bar.setPageStep(std::max(state.page, 1));
  bar.setSingleStep(std::max(state.page / 10, 1));
  bar.setValue(state.position);
}

namespace {

// "Samples petrol" as "Samples" over "petrol": broken at the space nearest its middle.
QString InTwoLines(QString heading) {
  int best = -1;
  for (int i = heading.indexOf(' '); i >= 0; i = heading.indexOf(' ', i + 1)) {
    if (best < 0 || std::abs(i - heading.size() / 2) < std::abs(best - heading.size() / 2)) {
      best = i;
    }
  }
  if (best >= 0) {
    heading[best] = '\n';
  }
  return heading;
}

// Columns as wide as their headings can be wider than the table (numbers under long
// headings): the headings then take two lines, so every column shows whole where it can. A
// last column stretched to the table's edge has the room left over: its heading stays whole.
void FitHeadingsInTwoLines(QTableWidget& table) {
  if (table.horizontalHeader()->length() <= table.viewport()->width()) {
    return;
  }
  const int split = table.columnCount() - (table.horizontalHeader()->stretchLastSection() ? 1 : 0);
  for (int column = 0; column < split; ++column) {
    if (QTableWidgetItem* heading = table.horizontalHeaderItem(column)) {
      heading->setText(InTwoLines(heading->text()));
    }
  }
  table.resizeColumnsToContents();
}

}  // namespace

void SetTableText(QTableWidget& table, const TableText& text) {
  table.setColumnCount(static_cast<int>(text.headings.size()));
  QStringList headings;
  for (const std::string& heading : text.headings) {
    headings << FromUtf8(heading);
  }
  table.setHorizontalHeaderLabels(headings);
  table.setRowCount(static_cast<int>(text.rows.size()));
  for (int row = 0; row < table.rowCount(); ++row) {
    const std::vector<std::string>& cells = text.rows[static_cast<std::size_t>(row)];
    for (int column = 0; column < table.columnCount(); ++column) {
      const auto index = static_cast<std::size_t>(column);
      auto* item = new QTableWidgetItem(index < cells.size() ? FromUtf8(cells[index]) : QString());
      item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter);
      table.setItem(row, column, item);
    }
  }
  table.resizeColumnsToContents();  // every number whole, as far as the width allows
  FitHeadingsInTwoLines(table);
}

}  // namespace zav::qt
