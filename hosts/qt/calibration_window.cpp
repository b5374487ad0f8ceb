#include "hosts/qt/calibration_window.h"

#include <QChartView>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/calibration_logs.h"
#include "calibration/calibration_text.h"
#include "hosts/qt/keyboard.h"

namespace zav::qt {

namespace {

constexpr int kGuidancePeriodMs = 1000;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString RecordText(Fuel fuel) {
  return fuel == Fuel::Petrol ? QStringLiteral("Record on petrol")
                              : QStringLiteral("Record on gas");
}

QString StepText(Fuel fuel) {
  return fuel == Fuel::Petrol
             ? QStringLiteral(
                   "Step 1: on petrol, press \"Record on petrol\" and drive on petrol "
                   "across the load range: light to heavy throttle at low, middle and "
                   "high engine speed, holding each a few seconds, for three minutes "
                   "or more. Then press \"Stop\".")
             : QStringLiteral(
                   "Step 2: switch to gas and drive the same way: press \"Record on "
                   "gas\" once the window shows \"Gas\", drive the same loads, then "
                   "press \"Stop\".");
}

}  // namespace

CalibrationWindow::CalibrationWindow(CalibrationActions actions, QWidget* owner)
    : QWidget(owner, Qt::Window), actions_(std::move(actions)) {
  setWindowTitle(QStringLiteral("Calibrate"));
  CloseOnEscape(*this);  // as the chart windows; a recording under way goes on
  guidance_ = new QLabel(this);
  guidance_->setWordWrap(true);
  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  table_ = new QTableWidget(0, kCellColumns, this);
  QStringList headings;
  for (std::string_view heading : kCellHeadings) {
    headings << Q(heading);
  }
  table_->setHorizontalHeaderLabels(headings);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  chart_ = MakeCalibrationChart(this);
  proposal_ = new QLabel(this);
  proposal_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  proposal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  apply_ = new QPushButton(QString::fromUtf8(kApplyText), this);
  apply_->setEnabled(false);
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(table_);
  split->addWidget(chart_.view);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  split->setSizes({760, 500});
  auto* proposalRow = new QHBoxLayout;
  proposalRow->addWidget(proposal_, 1);
  proposalRow->addWidget(apply_, 0, Qt::AlignBottom);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeDrives());
  layout->addWidget(guidance_);
  layout->addWidget(message_);
  layout->addWidget(split, 1);
  layout->addLayout(proposalRow);
  resize(1280, 660);

  clock_ = new QTimer(this);
  connect(clock_, &QTimer::timeout, this, [this] { ShowGuidance(); });
  clock_->start(kGuidancePeriodMs);
  ShowGuidance();
  Recalculate();
}

QWidget* CalibrationWindow::MakeDrives() {
  auto* drives = new QWidget(this);
  auto* grid = new QGridLayout(drives);
  grid->setContentsMargins(0, 0, 0, 0);
  for (const Fuel fuel : {Fuel::Petrol, Fuel::Gas}) {
    const int line = fuel == Fuel::Petrol ? 0 : 1;
    DriveRow& row = Row(fuel);
    row.path = new QLineEdit(drives);
    row.path->setReadOnly(true);
    row.path->setPlaceholderText(QStringLiteral("no log chosen"));
    row.choose = new QPushButton(QStringLiteral("Choose\u2026"), drives);
    row.record = new QPushButton(RecordText(fuel), drives);
    connect(row.choose, &QPushButton::clicked, this, [this, fuel] { Choose(fuel); });
    connect(row.record, &QPushButton::clicked, this, [this, fuel] { ToggleRecording(fuel); });
    grid->addWidget(new QLabel(fuel == Fuel::Petrol ? QStringLiteral("Drive on petrol:")
                                                    : QStringLiteral("Drive on gas:"),
                               drives),
                    line, 0);
    grid->addWidget(row.path, line, 1);
    grid->addWidget(row.choose, line, 2);
    grid->addWidget(row.record, line, 3);
  }
  grid->setColumnStretch(1, 1);
  return drives;
}

void CalibrationWindow::SetLog(Fuel fuel, const std::filesystem::path& path) {
  DriveRow& row = Row(fuel);
  row.log = path;
  row.path->setText(QString::fromStdString(path.string()));
  Recalculate();
  ShowGuidance();
}

void CalibrationWindow::Choose(Fuel fuel) {
  if (!actions_.chooseLog) {
    return;
  }
  if (const std::optional<std::filesystem::path> chosen = actions_.chooseLog(fuel)) {
    SetLog(fuel, *chosen);
  }
}

void CalibrationWindow::ToggleRecording(Fuel fuel) {
  if (recording_ == fuel) {
    recording_.reset();
    const std::optional<std::string> failed =
        actions_.stopRecording ? actions_.stopRecording() : std::nullopt;
    Row(fuel).record->setText(RecordText(fuel));
    if (failed) {
      message_->setText(Q(*failed));
    }
    if (Row(fuel).log) {
      SetLog(fuel, *Row(fuel).log);
    }
    return;
  }
  if (recording_) {
    ToggleRecording(*recording_);
  }
  std::string failure;
  const std::optional<std::filesystem::path> path =
      actions_.startRecording ? actions_.startRecording(fuel, failure) : std::nullopt;
  if (!path) {
    message_->setText(Q(failure));
    return;
  }
  recording_ = fuel;
  Row(fuel).log = *path;
  Row(fuel).path->setText(QString::fromStdString(path->string()));
  Row(fuel).record->setText(QStringLiteral("Stop"));
  ShowGuidance();
}

void CalibrationWindow::ShowGuidance() {
  // A recording stopped elsewhere (the menu, a full disk) ends the guided one too.
  if (recording_ && actions_.recording && !actions_.recording()) {
    const Fuel fuel = *recording_;
    recording_.reset();
    Row(fuel).record->setText(RecordText(fuel));
    SetLog(fuel, *Row(fuel).log);
    return;
  }
  const std::string state = actions_.operatingState ? actions_.operatingState() : std::string();
  QString text;
  if (recording_) {
    const bool petrol = *recording_ == Fuel::Petrol;
    text = petrol ? QStringLiteral("Recording: drive on petrol across the load range.")
                  : QStringLiteral("Recording: drive on gas the same way as on petrol.");
    const std::string_view wanted = petrol ? "Petrol" : "Gas";
    if (!state.empty() && state != wanted) {
      text += QStringLiteral(
                  " The controller shows \"%1\", not \"%2\": these samples are "
                  "left out.")
                  .arg(Q(state), Q(wanted));
    }
  } else if (!Row(Fuel::Petrol).log) {
    text = StepText(Fuel::Petrol);
  } else if (!Row(Fuel::Gas).log) {
    text = StepText(Fuel::Gas);
  } else {
    text = QStringLiteral(
        "Apply the proposal, write it (\"Ok\" in the Parameters dialog), then "
        "record on gas again to check: the next proposal starts from the new "
        "factors.");
  }
  if (!state.empty()) {
    text += QStringLiteral("  [now: %1]").arg(Q(state));
  }
  guidance_->setText(text);
}

}  // namespace zav::qt
