#include "hosts/qt/calibration_window.h"

#include <QChartView>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/calibration_guide.h"
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
  // The window's own switch, so the main window's need not be found under it.
  switch_ = new QPushButton(QStringLiteral("Switch"), drives);
  switch_->setToolTip(QStringLiteral("Switch fuel, as the main window's \"switch\" button"));
  connect(switch_, &QPushButton::clicked, this, [this] {
    if (actions_.switchFuel) {
      actions_.switchFuel();
    }
  });
  grid->addWidget(switch_, 0, 4, 2, 1);
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

// Asks before stopping a recording the window did not start, and offers to switch when the
// controller is on the other fuel. True when the recording may start.
bool CalibrationWindow::ReadyToRecord(Fuel fuel) {
  const bool other = !recording_ && actions_.recording && actions_.recording();
  const std::string state = actions_.operatingState ? actions_.operatingState() : std::string();
  switch (CheckBeforeRecording(fuel, other, state)) {
    case BeforeRecording::kStart:
      return true;
    case BeforeRecording::kOfferSwitch:
      if (actions_.ask && actions_.switchFuel &&
          actions_.ask(SwitchFirstQuestion(fuel, state), "Switch")) {
        actions_.switchFuel();
      }
      return false;
    case BeforeRecording::kAskStopOther:
      break;
  }
  const std::filesystem::path running =
      actions_.recordingPath ? actions_.recordingPath() : std::filesystem::path();
  if (!actions_.ask || !actions_.ask(StopOtherQuestion(running, fuel), "Stop and record")) {
    return false;
  }
  if (const std::optional<std::string> failed =
          actions_.stopRecording ? actions_.stopRecording() : std::nullopt) {
    message_->setText(Q(*failed));
    return false;
  }
  return true;
}

void CalibrationWindow::ToggleRecording(Fuel fuel) {
  if (recording_ == fuel) {
    recording_.reset();
    const std::optional<std::string> failed =
        actions_.stopRecording ? actions_.stopRecording() : std::nullopt;
    Row(fuel).record->setText(RecordText(fuel));
    if (Row(fuel).log) {
      SetLog(fuel, *Row(fuel).log);
    }
    if (failed) {
      message_->setText(Q(*failed));  // after SetLog, which rewrites the message
    }
    return;
  }
  if (recording_) {
    ToggleRecording(*recording_);
  }
  if (!ReadyToRecord(fuel)) {
    ShowGuidance();
    return;
  }
  std::string failure;
  const std::optional<std::filesystem::path> path =
      actions_.startRecording ? actions_.startRecording(fuel, failure) : std::nullopt;
  if (!path) {
    message_->setText(Q(failure));
    return;
  }
  recording_ = fuel;
  recorded_.start();
  recordingCells_ = 0;
  Row(fuel).log = *path;
  Row(fuel).path->setText(QString::fromStdString(path->string()));
  Row(fuel).record->setText(QStringLiteral("Stop"));
  ShowGuidance();
}

void CalibrationWindow::closeEvent(QCloseEvent* event) {
  if (recording_ && Row(*recording_).log) {
    QMessageBox::information(this, windowTitle(),
                             Q(ClosingWhileRecordingText(*Row(*recording_).log)));
  }
  QWidget::closeEvent(event);
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
  // A write during the recording splits the log (each part on one set): follow the part
  // being written, which is driven on the factors now in force.
  if (recording_ && actions_.recordingPath && actions_.recording && actions_.recording() &&
      actions_.recordingPath() != *Row(*recording_).log) {
    Row(*recording_).log = actions_.recordingPath();
    Row(*recording_).path->setText(QString::fromStdString(Row(*recording_).log->string()));
  }
  GuideFacts facts;
  facts.operatingState = actions_.operatingState ? actions_.operatingState() : std::string();
  facts.recording = recording_;
  if (recording_) {
    facts.recordingSeconds = static_cast<double>(recorded_.elapsed()) / 1000.0;
    // The cells so far, from the log as it grows: a few thousand rows, every 5 s.
    if (recorded_.elapsed() / 1000 % 5 == 0) {
      const LoadedCalibrationLog so = LoadCalibrationLog(*Row(*recording_).log, *recording_);
      recordingCells_ = CellsCoveredOn(so.log.samples, *recording_);
    }
    facts.recordingCells = recordingCells_;
  }
  facts.petrolLog = Row(Fuel::Petrol).log.has_value();
  facts.gasLog = Row(Fuel::Gas).log.has_value();
  facts.petrolCells = petrolCells_;
  facts.result = result_ ? &*result_ : nullptr;
  const QString text = Q(Instruction(facts));
  guidance_->setText(text);
}

}  // namespace zav::qt
