#include "hosts/qt/strip_chart_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "hosts/qt/chart_picture.h"
#include "hosts/qt/keyboard.h"
#include "hosts/qt/strip_chart_view.h"

namespace zav::qt {

namespace {

constexpr int kScrollStepsPerSecond = 10;  // the scroll bar moves in 0.1 s
constexpr int kStepsPerSpan = 10;          // an arrow or a wheel notch moves a tenth of the span
constexpr int kWheelNotch = 120;           // QWheelEvent's angle of one notch (1/8 degrees)
// A live chart redraws once this much newer data has come (s of sample time): about every
// third 150 ms tick. A redraw is nearly all the chart costs (about 2 ms), and a 30 s strip
// moving 1/60 of its width at a time reads smoothly.
constexpr double kRedrawEverySeconds = 0.4;
// A wider span waits until the strip would move this many pixels: a 10 min strip moves a
// pixel in about a second, and drawing it sooner shows nothing new.
constexpr double kRedrawEveryPixels = 2.0;

struct SpanChoice {
  const char* text;
  double seconds;  // 0: everything
};
constexpr std::array<SpanChoice, 4> kSpans{
    {{"30 s", 30.0}, {"2 min", 120.0}, {"10 min", 600.0}, {"Whole log", 0.0}}};

QGridLayout* SeriesBoxes(StripChartView& chart, QWidget* parent) {
  auto* grid = new QGridLayout();
  for (int i = 0; i < kStripSeriesCount; ++i) {
    const StripSeries& entry = kStripSeriesTable[static_cast<std::size_t>(i)];
    auto* box = new QCheckBox(
        QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size())), parent);
    box->setChecked(true);
    box->setStyleSheet(QStringLiteral("color: %1").arg(StripSeriesColour(i).name()));
    QObject::connect(box, &QCheckBox::toggled, parent,
                     [&chart, i](bool on) { chart.SetSeriesVisible(i, on); });
    grid->addWidget(box, entry.injection ? 0 : 1, entry.injection ? i : i - 8);
  }
  return grid;
}

struct KeyMove {
  Qt::Key key;
  QAbstractSlider::SliderAction action;
};
constexpr std::array<KeyMove, 6> kKeyMoves{{
    {Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
    {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
    {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
    {Qt::Key_End, QAbstractSlider::SliderToMaximum},
}};

}  // namespace

StripChartWindow::StripChartWindow(const std::deque<DecodedSample>& samples, bool live,
                                   QWidget* owner)
    : QWidget(owner, Qt::Window), samples_(samples), live_(live) {
  setAttribute(Qt::WA_DeleteOnClose);
  CloseOnEscape(*this);
  chart_ = new StripChartView(this);
  span_ = new QComboBox(this);
  for (const SpanChoice& choice : kSpans) {
    if (live || choice.seconds > 0.0) {
      span_->addItem(QString::fromLatin1(choice.text));
    }
  }
  if (!live) {
    span_->addItem(QString::fromLatin1(kSpans.back().text));
    span_->setCurrentIndex(span_->count() - 1);
    chart_->setRubberBand(QChartView::HorizontalRubberBand);
  }
  pause_ = new QPushButton(QStringLiteral("Pause"), this);
  pause_->setCheckable(true);
  pause_->setVisible(live);
  auto* save = new QPushButton(QStringLiteral("Save as PNG\u2026"), this);
  auto* scatter = new QPushButton(QStringLiteral("Petrol against gas"), this);
  scroll_ = new QScrollBar(Qt::Horizontal, this);

  auto* bar = new QHBoxLayout();
  bar->addWidget(span_);
  bar->addWidget(pause_);
  bar->addStretch();
  bar->addWidget(scatter);
  bar->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addLayout(SeriesBoxes(*chart_, this));
  layout->addWidget(chart_, 1);
  layout->addWidget(scroll_);

  connect(span_, &QComboBox::currentIndexChanged, this, [this] {
    UpdateScrollRange();
    ShowFromScroll();
  });
  connect(pause_, &QPushButton::toggled, this, [this](bool paused) { SetPaused(paused); });
  connect(scroll_, &QScrollBar::valueChanged, this, [this] { ShowFromScroll(); });
  connect(scroll_, &QScrollBar::actionTriggered, this, [this] { PauseOrFollow(); });
  for (const KeyMove& move : kKeyMoves) {
    auto* key = new QShortcut(QKeySequence(move.key), this);
    connect(key, &QShortcut::activated, this, [this, move] { Move(move.action); });
  }
  chart_->viewport()->installEventFilter(this);
  connect(save, &QPushButton::clicked, this, [this] { SavePicture(); });
  connect(scatter, &QPushButton::clicked, this, [this] {
    if (showScatter) {
      showScatter();
    }
  });
  resize(900, 560);
  UpdateScrollRange();
  if (!live) {
    scroll_->setValue(0);
  }
  ShowFromScroll();
}

double StripChartWindow::Span() const {
  const QString text = span_->currentText();
  for (const SpanChoice& choice : kSpans) {
    if (text == QLatin1String(choice.text)) {
      return choice.seconds > 0.0 ? choice.seconds : std::max(Newest() - Oldest(), 1.0);
    }
  }
  return 30.0;
}

double StripChartWindow::Newest() const {
  return samples_.empty() ? 0.0 : samples_.back().seconds;
}

double StripChartWindow::Oldest() const {
  return samples_.empty() ? 0.0 : samples_.front().seconds;
}

void StripChartWindow::SetSpan(double seconds) {
  for (int i = 0; i < span_->count(); ++i) {
    for (const SpanChoice& choice : kSpans) {
      if (span_->itemText(i) == QLatin1String(choice.text) && choice.seconds == seconds) {
        span_->setCurrentIndex(i);
      }
    }
  }
}

void StripChartWindow::SetPaused(bool paused) {
  pause_->setChecked(paused);
  pause_->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
  UpdateScrollRange();
  ShowFromScroll();
}

void StripChartWindow::UpdateScrollRange() {
  const double room = std::max(Newest() - Oldest() - Span(), 0.0);
  const bool following = Following();
  const QSignalBlocker quiet(scroll_);
  scroll_->setRange(0, static_cast<int>(std::ceil(room * kScrollStepsPerSecond)));
  scroll_->setPageStep(static_cast<int>(Span() * kScrollStepsPerSecond));
  scroll_->setSingleStep(std::max(scroll_->pageStep() / kStepsPerSpan, 1));
  if (following) {
    scroll_->setValue(scroll_->maximum());
  }
}

bool StripChartWindow::Following() const {
  return live_ && !pause_->isChecked();
}

void StripChartWindow::Move(QAbstractSlider::SliderAction action) {
  scroll_->triggerAction(action);
}

void StripChartWindow::PauseOrFollow() {
  // The position the user's action left, before the value follows it: off the live end
  // pauses, onto it follows live.
  const int position = scroll_->sliderPosition();
  const bool atLiveEnd = position >= scroll_->maximum();
  if (!live_ || Following() == atLiveEnd) {
    return;
  }
  SetPaused(!atLiveEnd);
  if (!atLiveEnd) {
    // Pausing stretched the range to the newest sample, which puts the handle back where
    // it was; the action's place stands.
    scroll_->setSliderPosition(position);
  }
}

bool StripChartWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) {
    return QWidget::eventFilter(watched, event);
  }
  const QPoint angle = static_cast<QWheelEvent*>(event)->angleDelta();
  // Away from the user (or to the left) goes back in time, as over the scroll bar.
  wheelRest_ += angle.y() != 0 ? angle.y() : angle.x();
  for (; wheelRest_ >= kWheelNotch; wheelRest_ -= kWheelNotch) {
    Move(QAbstractSlider::SliderSingleStepSub);
  }
  for (; wheelRest_ <= -kWheelNotch; wheelRest_ += kWheelNotch) {
    Move(QAbstractSlider::SliderSingleStepAdd);
  }
  return true;
}

void StripChartWindow::ShowFromScroll() {
  const double span = Span();
  const bool following = Following();
  const double from = following ? std::max(Newest() - span, Oldest())
                                : Oldest() + scroll_->value() / double{kScrollStepsPerSecond};
  chart_->ShowSpan(samples_, from, from + span);
  drawnUpTo_ = Newest();
}

double StripChartWindow::RedrawStep() const {
  const double widthPx = chart_->chart()->plotArea().width();
  return widthPx > 0.0 ? std::max(kRedrawEverySeconds, Span() / widthPx * kRedrawEveryPixels)
                       : kRedrawEverySeconds;
}

void StripChartWindow::Refresh() {
  if (!Following() || !isVisible() || Newest() - drawnUpTo_ < RedrawStep()) {
    return;
  }
  UpdateScrollRange();
  ShowFromScroll();
}

void StripChartWindow::SavePicture() {
  // The legend with every series while the picture is taken: away from the window the
  // check boxes no longer name the colours.
  chart_->ShowWholeLegend(true);
  const double from = chart_->TimeAxis()->min();
  const double to = chart_->TimeAxis()->max();
  const QString caption = QStringLiteral("%1 \u00b7 %2 s to %3 s (%4 s)")
                              .arg(windowTitle())
                              .arg(from, 0, 'f', 1)
                              .arg(to, 0, 'f', 1)
                              .arg(to - from, 0, 'f', 0);
  SaveChartPicture(*chart_, this, windowTitle(), caption);
  chart_->ShowWholeLegend(false);
}

}  // namespace zav::qt
