// The Calibrate window's results: the logs read, the table, the chart, the proposal and
// "Apply to Parameters…".

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

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
  std::optional<CalibrationLog> petrol;
  std::optional<CalibrationLog> gas;
  for (const Fuel fuel : {Fuel::Petrol, Fuel::Gas}) {
    const DriveRow& row = Row(fuel);
    if (!row.log || recording_ == fuel) {
      continue;
    }
    LoadedCalibrationLog loaded = LoadCalibrationLog(*row.log, fuel);
    if (!loaded.error.empty()) {
      text += loaded.error + "\n";
      continue;
    }
    if (!loaded.log.note.empty()) {
      text += row.log->filename().string() + ": " + loaded.log.note + "\n";
    }
    (fuel == Fuel::Petrol ? petrol : gas) = std::move(loaded.log);
  }
  if (petrol && gas) {
    ParameterWords inForce{};
    if (gas->parameters) {
      inForce = *gas->parameters;
    } else {
      inForce = actions_.parametersNow ? actions_.parametersNow() : kDefaultParameters;
      text +=
          "No parameter file beside the gas log: the parameters the window holds now are "
          "taken as those in force.\n";
    }
    result_ = Calibrate(petrol->samples, gas->samples, inForce);
    text += CoverageText(*result_);
    if (!result_->proposal) {
      text += "No proposal: " + result_->reason + "\n";
    }
  }
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
  }
  message_->setText(Q(text));
  ShowTable();
  const Calibration empty;
  ShowOnChart(chart_, result_ ? *result_ : empty);
  const bool proposed = result_ && result_->proposal;
  proposal_->setText(proposed ? Q(ProposalText(*result_->proposal)) : QString());
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
    actions_.applyToParameters(result_->proposal->proposed);
  }
}

}  // namespace zav::qt
