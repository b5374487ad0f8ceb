#pragma once
// Log → "Calibrate…": a drive on petrol and a drive on gas, chosen or recorded with
// guidance, the table of load cells, the chart of needed ratios with today's and the
// proposed factors' lines, the proposal, and "Apply to Parameters…". Not modal; nothing
// here touches the line: recording and the Parameters dialog go through the program.

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <optional>

#include "calibration/calibration.h"
#include "calibration/calibration_host.h"
#include "calibration/calibration_logs.h"
#include "hosts/qt/calibration_chart.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace zav::qt {

inline constexpr const char* kApplyText = "Apply to Parameters\u2026";

class CalibrationWindow : public QWidget {
 public:
  CalibrationWindow(CalibrationActions actions, QWidget* owner);

  void SetActions(CalibrationActions actions) { actions_ = std::move(actions); }
  // Takes the log as the drive on `fuel` and works the table out afresh.
  void SetLog(Fuel fuel, const std::filesystem::path& path);

  const std::optional<Calibration>& Result() const { return result_; }
  QTableWidget& Table() const { return *table_; }
  QPushButton& ApplyButton() const { return *apply_; }
  QPushButton& RecordButton(Fuel fuel) const { return *Row(fuel).record; }
  QPushButton& ChooseButton(Fuel fuel) const { return *Row(fuel).choose; }
  QPushButton& SwitchButton() const { return *switch_; }
  const LogCache& Logs() const { return logs_; }
  QLabel& Message() const { return *message_; }
  QLabel& Guidance() const { return *guidance_; }
  QLabel& ProposalLabel() const { return *proposal_; }
  const CalibrationChart& Chart() const { return chart_; }

 private:
  struct DriveRow {
    QLineEdit* path = nullptr;
    QPushButton* choose = nullptr;
    QPushButton* record = nullptr;
    std::optional<std::filesystem::path> log;
  };

  DriveRow& Row(Fuel fuel) { return rows_[fuel == Fuel::Petrol ? 0 : 1]; }
  const DriveRow& Row(Fuel fuel) const { return rows_[fuel == Fuel::Petrol ? 0 : 1]; }
  QWidget* MakeDrives();
  void Choose(Fuel fuel);
  void ToggleRecording(Fuel fuel);
  void ShowGuidance();
  void Recalculate();
  void ShowTable();
  void Apply();
  bool ReadyToRecord(Fuel fuel);
  void closeEvent(QCloseEvent* event) override;

  CalibrationActions actions_;
  std::array<DriveRow, 2> rows_;
  std::optional<Fuel> recording_;  // the drive being recorded from here
  std::optional<Calibration> result_;
  QLabel* guidance_ = nullptr;
  QLabel* message_ = nullptr;
  QTableWidget* table_ = nullptr;
  CalibrationChart chart_;
  QLabel* proposal_ = nullptr;
  QPushButton* apply_ = nullptr;
  QTimer* clock_ = nullptr;
  QPushButton* switch_ = nullptr;
  LogCache logs_;           // each log read once, until it changes
  QElapsedTimer recorded_;  // since the window's recording started
  int recordingCells_ = 0;
  int petrolCells_ = -1;
};

}  // namespace zav::qt
