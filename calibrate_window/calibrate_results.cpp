// The Calibrate window's results: the logs read, the messages, the table, the chart, the
// verdict and "Apply to Parameters…".

#include "calibrate_window/calibrate_window.h"
#include "calibrate_window/calibration_chart.h"
#include "calibration/calibration_guide.h"
#include "calibration/calibration_text.h"
#include "platform/files/path_text.h"
#include "resources/calibrate_template.h"

namespace zav {

namespace {

void ShowTable(Desktop& desktop, const CalibrateWindow& state) {
  TableText table;
  table.headings.assign(kCellHeadings.begin(), kCellHeadings.end());
  if (state.result) {
    for (const LoadCell& cell : state.result->cells) {
      const std::array<std::string, kCellColumns> texts = CellTexts(cell);
      table.rows.emplace_back(texts.begin(), texts.end());
    }
  } else {
    // Until there is a gas drive to compare, the petrol drive's own cells: what to drive on gas.
    for (const CellCount& cell : state.petrolCounts) {
      const std::array<std::string, kCellColumns> texts = PetrolCellTexts(cell);
      table.rows.emplace_back(texts.begin(), texts.end());
    }
  }
  desktop.SetTable(state.window, kCalibrateTable, table);
}

std::string WithoutLastNewline(std::string text) {
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
  }
  return text;
}

}  // namespace

void Recalculate(Desktop& desktop, CalibrateWindow& state) {
  state.result.reset();
  state.petrolCounts.clear();
  state.petrolCells = -1;
  std::string text;
  const CalibrationLog* petrol = nullptr;
  const CalibrationLog* gas = nullptr;
  for (const Fuel fuel : {Fuel::Petrol, Fuel::Gas}) {
    const std::optional<std::filesystem::path>& log = state.Log(fuel);
    if (!log || state.recording == fuel) {
      continue;
    }
    const LoadedCalibrationLog& loaded = CachedLog(state.logCache, *log, fuel);
    if (!loaded.error.empty()) {
      text += loaded.error + "\n";
      continue;
    }
    if (!loaded.log.note.empty()) {
      text += Utf8FromPath(log->filename()) + ": " + loaded.log.note + "\n";
    }
    (fuel == Fuel::Petrol ? petrol : gas) = &loaded.log;
    if (fuel == Fuel::Petrol) {
      state.petrolCounts = CellCountsOn(loaded.log.samples, Fuel::Petrol);
      state.petrolCells = CoveredIn(state.petrolCounts);
    }
  }
  std::optional<InForceSet> controllers;
  if (const std::optional<ParameterWords> confirmed =
          state.actions.confirmedSet ? state.actions.confirmedSet() : std::nullopt) {
    controllers = InForceSet{*confirmed, "the controller's set (its last read or write)"};
  }
  const std::optional<InForceSet> inForce =
      gas != nullptr ? InForceFor(*gas, controllers) : std::nullopt;
  if (petrol != nullptr && gas != nullptr && !inForce) {
    text +=
        "No parameter file beside the gas log, and the controller's set is not known: press "
        "\"Read from ZAV\" so the window knows the factors the gas drive was driven on.\n";
  } else if (petrol != nullptr && gas != nullptr) {
    state.result = Calibrate(petrol->samples, gas->samples, inForce->words);
    text += InForceText(*inForce) + "\n" + CoverageText(*state.result);
  }
  desktop.SetText(state.window, kCalibrateMessage, WithoutLastNewline(text));
  ShowTable(desktop, state);
  desktop.Redraw(state.window, kCalibrateChart);
  desktop.SetText(state.window, kCalibrateVerdict,
                  state.result ? WithoutLastNewline(VerdictText(*state.result)) : std::string());
  const bool changes = state.result && state.result->proposal && state.result->proposal->Changes();
  desktop.EnableControl(state.window, kCalibrateApply,
                        changes && state.actions.applyToParameters != nullptr);
}

void ApplyProposal(Desktop& desktop, CalibrateWindow& state) {
  if (!state.result || !state.result->proposal || !state.result->proposal->Changes() ||
      !state.actions.applyToParameters) {
    return;
  }
  // The Parameters dialog runs inside this call; the proposal is copied, as a recalculation
  // while it is open may replace the result.
  const Proposal proposal = *state.result->proposal;
  if (const std::optional<std::string> refused =
          state.actions.applyToParameters(proposal.proposed, proposal.xAxis)) {
    desktop.SetText(state.window, kCalibrateMessage, *refused);
  }
}

void PaintCalibrationChart(Desktop& desktop, const CalibrateWindow& state) {
  const Calibration empty;
  DrawCalibrationChart(desktop.ControlCanvas(state.window, kCalibrateChart),
                       desktop.ControlSize(state.window, kCalibrateChart),
                       state.result ? *state.result : empty);
}

}  // namespace zav
