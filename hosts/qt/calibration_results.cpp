// The Calibrate window's results: the logs read, the table, the chart, the proposal and
// "Apply to Parameters…".

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "calibration/calibration_guide.h"
#include "calibration/calibration_logs.h"
#include "calibration/calibration_text.h"
#include "hosts/qt/calibration_window.h"

namespace zav::qt {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

void CalibrationWindow::Recalculate() {
  result_.reset();
  std::string text;
  const CalibrationLog* petrol = nullptr;
  const CalibrationLog* gas = nullptr;
  for (const Fuel fuel : {Fuel::Petrol, Fuel::Gas}) {
    const DriveRow& row = Row(fuel);
    if (!row.log || recording_ == fuel) {
      continue;
    }
    const LoadedCalibrationLog& loaded = CachedLog(logs_, *row.log, fuel);
    if (!loaded.error.empty()) {
      text += loaded.error + "\n";
      continue;
    }
    if (!loaded.log.note.empty()) {
      text += row.log->filename().string() + ": " + loaded.log.note + "\n";
    }
    (fuel == Fuel::Petrol ? petrol : gas) = &loaded.log;
    if (fuel == Fuel::Petrol) {
      petrolCells_ = CellsCoveredOn(loaded.log.samples, Fuel::Petrol);
    }
  }
  std::optional<InForceSet> controllers;
  if (const std::optional<ParameterWords> confirmed =
          actions_.confirmedSet ? actions_.confirmedSet() : std::nullopt) {
    controllers = InForceSet{*confirmed, "the controller's set (its last read or write)"};
  }
  const std::optional<InForceSet> inForce =
      gas != nullptr ? InForceFor(*gas, controllers) : std::nullopt;
  if (petrol != nullptr && gas != nullptr && !inForce) {
    text +=
        "No parameter file beside the gas log, and the controller's set is not known: press "
        "\"Read from ZAV\" so the window knows the factors the gas drive was driven on.\n";
  } else if (petrol != nullptr && gas != nullptr) {
    result_ = Calibrate(petrol->samples, gas->samples, inForce->words);
    text += InForceText(*inForce) + "\n" + CoverageText(*result_);
  }
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
  }
  message_->setText(Q(text));
  ShowTable();
  const Calibration empty;
  ShowOnChart(chart_, result_ ? *result_ : empty);
  const bool proposed = result_ && result_->proposal && result_->proposal->Changes();
  proposal_->setText(result_ ? Q(VerdictText(*result_)) : QString());
  apply_->setEnabled(proposed && actions_.applyToParameters != nullptr);
}

void CalibrationWindow::ShowTable() {
  const std::size_t count = result_ ? result_->cells.size() : 0;
  table_->setRowCount(static_cast<int>(count));
  for (std::size_t row = 0; row < count; ++row) {
    const std::array<std::string, kCellColumns> texts = CellTexts(result_->cells[row]);
    for (std::size_t column = 0; column < texts.size(); ++column) {
      auto* item = new QTableWidgetItem(Q(texts[column]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(static_cast<int>(row), static_cast<int>(column), item);
    }
  }
  table_->resizeColumnsToContents();
}

void CalibrationWindow::Apply() {
  if (result_ && result_->proposal && actions_.applyToParameters) {
    if (const std::optional<std::string> refused =
            actions_.applyToParameters(result_->proposal->proposed, result_->proposal->xAxis)) {
      message_->setText(Q(*refused));
    }
  }
}

}  // namespace zav::qt
