// The Calibrate window on the headless host, in the running program against the in-process
// controller, read from what it shows: Log → "Calibrate…" opens it, the two logs chosen fill
// the table, the chart and the proposal, and "Apply to Parameters…" opens the Parameters
// dialog with its trackbars placed and the formula's values in its edits; closing it sends
// nothing. A guided recording never silently stops one started from the Log menu, and a
// failed stop is shown. The window and zavctl agree on the factors in force.

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <memory>

#include "calibrate_window/calibrate_window_host.h"
#include "calibrate_window/calibration_chart.h"
#include "calibration/calibration.h"
#include "calibration/calibration_text.h"
#include "datalog/csv_log_reader.h"
#include "hosts/headless/recording_canvas.h"
#include "link/wire.h"
#include "params/gas_ratio_line.h"
#include "resources/calibrate_template.h"
#include "resources/main_template.h"
#include "resources/parameters_template.h"
#include "resources/transfer_template.h"
#include "tests/calibration/synthetic_drive.h"
#include "tests/calibration/zavctl_child.h"
#include "tests/support/program_harness.h"
#include "ui/data_log_commands.h"

namespace zav {
namespace {

using headless::DrawOp;
using testing::kMillisecond;
using testing::kSecond;

constexpr int kMain = kMainTemplateId;
constexpr int kWindow = kCalibrateTemplateId;
constexpr TrackbarPositions kWindowNeedPositions{10, 12};

// What the chart's last paint drew, told apart by colour.
struct ChartDrawing {
  int neededMarks = 0;
  int leftOutMarks = 0;
  std::vector<std::pair<LineStyle, std::size_t>> inForceLines;  // style, corners
  std::vector<std::pair<LineStyle, std::size_t>> proposedLines;
  std::vector<std::string> texts;
};

ChartDrawing ReadChart(const std::vector<DrawOp>& drawing) {
  ChartDrawing chart;
  Colour pen;
  LineStyle style = LineStyle::Solid;
  bool clipped = false;  // inside the plot: marks and lines, not legend swatches
  for (const DrawOp& op : drawing) {
    switch (op.kind) {
      case DrawOp::Kind::Pen:
        pen = op.colour;
        break;
      case DrawOp::Kind::PenStyle:
        style = op.style;
        break;
      case DrawOp::Kind::Clip:
        clipped = true;
        break;
      case DrawOp::Kind::Unclip:
        clipped = false;
        break;
      case DrawOp::Kind::Fill:
        chart.neededMarks += clipped && op.colour == kNeededColour;
        chart.leftOutMarks += clipped && op.colour == kLeftOutColour;
        break;
      case DrawOp::Kind::Polyline:
        if (clipped && pen == kInForceColour) {
          chart.inForceLines.emplace_back(style, op.points.size());
        } else if (clipped && pen == kProposedColour) {
          chart.proposedLines.emplace_back(style, op.points.size());
        }
        break;
      case DrawOp::Kind::PlacedText:
        chart.texts.push_back(op.text);
        break;
      default:
        break;
    }
  }
  return chart;
}

bool Has(const std::vector<std::string>& texts, std::string_view text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class CalibrateWindowTest : public ::testing::Test {
 protected:
  CalibrateWindowTest() {
    harness.program.calibration = &host;
    harness.desktop.SetTimeLimit(120 * kSecond);
  }

  const headless::ControlState& Shown(int controlId) const {
    return harness.desktop.Control(kWindow, controlId);
  }
  std::string Text(int controlId) const { return Shown(controlId).text; }
  bool WindowOpen() const {
    const headless::DialogRecord* record = harness.desktop.Newest(kWindow);
    return record != nullptr && record->IsOpen();
  }
  void Press(int controlId) { harness.desktop.Press(kWindow, controlId); }
  void ChooseLog(int chooseButton, const std::filesystem::path& log) {
    harness.desktop.QueueFileAnswer(log.string());
    Press(chooseButton);
  }
  bool RecordingTo(const std::filesystem::path& log) const {
    return harness.program.dataLog.recorder.recording &&
           harness.program.dataLog.recorder.path == log;
  }

  testing::ProgramHarness harness;
  CalibrateWindowHost host{harness.desktop, [this] { return harness.program.link.mainWindow; }};
};

TEST_F(CalibrateWindowTest,
       OpensFromTheLogMenuShowsTableChartAndProposalAndApplyPlacesTheTrackbars) {
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  const testing::GasModel model{FactorsAt(kWindowNeedPositions), FactorsAt({15, 19})};
  const std::filesystem::path petrolLog = harness.dir / "petrol.csv";
  const std::filesystem::path gasLog = harness.dir / "gas.csv";
  testing::WriteDriveLog(petrolLog, testing::PetrolDrive(holds), kDefaultParameters);
  testing::WriteDriveLog(gasLog, testing::GasDrive(holds, model), kDefaultParameters);

  TrackbarPositions placed{-1, -1};
  std::string yAxis;
  std::string numerator;
  std::uint16_t yAxisRegister = 0;
  bool reopened = false;
  harness.desktop.At(3 * kSecond, [&] {
    harness.desktop.ChooseAddedItem(kMain, kCalibrate);
    ASSERT_TRUE(WindowOpen());
    EXPECT_TRUE(harness.desktop.Newest(kWindow)->modeless);
    EXPECT_EQ(Text(kCalibratePetrolLog), "no log chosen");
    EXPECT_TRUE(Shown(kCalibrateApply).disabled);
    EXPECT_NE(Text(kCalibrateGuidance).find("Step 1: on petrol"), std::string::npos)
        << Text(kCalibrateGuidance);
    ChooseLog(kCalibratePetrolChoose, petrolLog);
    EXPECT_NE(Text(kCalibrateGuidance).find("Step 2"), std::string::npos)
        << Text(kCalibrateGuidance);
    // Before a gas drive the table lists the loads the petrol drive held: what to drive on gas.
    const TableText& petrolTable = Shown(kCalibrateTable).table;
    EXPECT_GE(petrolTable.rows.size(), 10u);
    for (const std::vector<std::string>& row : petrolTable.rows) {
      ASSERT_EQ(row.size(), static_cast<std::size_t>(kCellColumns));
      EXPECT_NE(row[0].find('-'), std::string::npos);
      EXPECT_GT(std::stoi(row[2]), 0);
      EXPECT_EQ(row[3], "");
      EXPECT_EQ(row[6], "");
    }
    ChooseLog(kCalibrateGasChoose, gasLog);
  });
  harness.desktop.At(4 * kSecond, [&] {
    EXPECT_EQ(Text(kCalibratePetrolLog), petrolLog.string());
    const TableText& table = Shown(kCalibrateTable).table;
    EXPECT_EQ(table.rows.size(), 14u);
    EXPECT_EQ(table.headings.front(), "RPM");
    EXPECT_EQ(table.headings.back(), "In fit");
    ASSERT_TRUE(host.State().result);
    const Calibration& result = *host.State().result;
    const std::array<std::string, kCellColumns> firstRow = CellTexts(result.cells.front());
    EXPECT_EQ(table.rows.front(), std::vector<std::string>(firstRow.begin(), firstRow.end()));
    EXPECT_NE(Text(kCalibrateVerdict).find("Left        2.20 -> 2.30  (trackbar 15 -> 10)"),
              std::string::npos)
        << Text(kCalibrateVerdict);
    EXPECT_FALSE(Shown(kCalibrateApply).disabled);

    // The chart: a mark per cell, those short of samples paler; the line in force dashed and
    // the proposed one solid, each bent where the one line turns level; legend and titles.
    const ChartDrawing chart = ReadChart(Shown(kCalibrateChart).drawing);
    EXPECT_EQ(chart.neededMarks, result.covered);
    EXPECT_EQ(chart.neededMarks + chart.leftOutMarks, static_cast<int>(result.cells.size()));
    ASSERT_EQ(chart.inForceLines.size(), 1u);
    EXPECT_EQ(chart.inForceLines[0].first, LineStyle::Dashed);
    ASSERT_EQ(chart.proposedLines.size(), 1u);
    EXPECT_EQ(chart.proposedLines[0].first, LineStyle::Solid);
    const CalibrationChartRange range = ChartRangeOf(result);
    const std::size_t corners = 2 + (range.fromMs < kLeftFactorPetrolMs ? 1 : 0) +
                                (range.toMs > kRightFactorPetrolMs ? 1 : 0);
    EXPECT_EQ(chart.inForceLines[0].second, corners);
    for (const char* text : {"Needed", "Too few samples", "In force", "Proposed",
                             "Petrol time on petrol (ms)", "Gas/petrol ratio"}) {
      EXPECT_TRUE(Has(chart.texts, text)) << text;
    }
    for (const std::string& text : chart.texts) {
      EXPECT_EQ(text.find(','), std::string::npos) << text;
    }

    // The program has not read the controller: its "X axis" (0) is not the one the proposal
    // was made for, so "Apply" says so and opens nothing.
    Press(kCalibrateApply);
    EXPECT_NE(Text(kCalibrateMessage)
                  .find("The program holds \"X axis\" 0, but the proposal was made for "
                        "\"X axis\" 599"),
              std::string::npos)
        << Text(kCalibrateMessage);
    EXPECT_EQ(harness.desktop.Newest(kParametersTemplateId), nullptr);

    // As a read would leave it.
    harness.program.link.image.values[87 - kFirstImageRegister] = 599;
    yAxisRegister = harness.controller.Register(kYAxisRegister);
    harness.desktop.At(harness.desktop.Now() + kSecond, [&] {
      const WindowRef dialog = harness.desktop.Newest(kParametersTemplateId)->window;
      placed = {harness.desktop.GetSliderPosition(dialog, kLeftTrackbar),
                harness.desktop.GetSliderPosition(dialog, kRightTrackbar)};
      yAxis = harness.desktop.GetText(dialog, kYAxisEdit);
      numerator = harness.desktop.GetText(dialog, kNumeratorEdit);
      harness.desktop.RequestClose(kParametersTemplateId);
    });
    Press(kCalibrateApply);  // returns once the Parameters dialog closed
  });
  // Escape closes; opened again, the window shows the same logs and result.
  harness.desktop.At(8 * kSecond, [&] {
    Press(kCommandEscape);
    EXPECT_FALSE(WindowOpen());
    harness.desktop.ChooseAddedItem(kMain, kCalibrate);
    ASSERT_TRUE(WindowOpen());
    EXPECT_EQ(Text(kCalibrateGasLog), gasLog.string());
    EXPECT_EQ(Shown(kCalibrateTable).table.rows.size(), 14u);
    EXPECT_EQ(host.State().logCache.reads, 2) << "each log read once";
    // A drive recorded anew: the result it replaces goes, and "Apply" with it.
    Press(kCalibratePetrolRecord);
    EXPECT_EQ(Text(kCalibratePetrolRecord), "Stop");
    EXPECT_TRUE(Shown(kCalibrateTable).table.rows.empty());
    EXPECT_TRUE(Shown(kCalibrateApply).disabled);
    EXPECT_EQ(Text(kCalibrateVerdict), "");
    reopened = true;
  });
  EXPECT_EQ(harness.RunUntil(10 * kSecond), 0);
  EXPECT_TRUE(reopened);

  EXPECT_EQ(placed, kWindowNeedPositions);
  // The dialog's own formula for the placed trackbars and the "X axis" the program holds.
  const FormulaResult expected = ApplyFormulaTo(599, placed);
  EXPECT_EQ(yAxis, std::to_string(expected.yAxis));
  EXPECT_EQ(numerator, std::to_string(expected.numerator));
  // Nothing was written: the fitter did not confirm.
  EXPECT_EQ(harness.desktop.Newest(kTransferTemplateId), nullptr);
  EXPECT_EQ(harness.controller.Register(kYAxisRegister), yAxisRegister);
}

// The fitter reads the controller, applies the proposal and confirms "Send data to ZAV ?":
// once the controller holds the proposed factors, the one instruction is the next step (a
// drive on gas to check them), never the stale "Press Apply", and "Apply" has nothing left
// to write.
TEST_F(CalibrateWindowTest, OnceTheProposalIsWrittenTheInstructionIsTheCheckOnGas) {
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  const std::filesystem::path petrolLog = harness.dir / "petrol.csv";
  const std::filesystem::path gasLog = harness.dir / "gas.csv";
  testing::WriteDriveLog(petrolLog, testing::PetrolDrive(holds), kDefaultParameters);
  testing::WriteDriveLog(gasLog,
                         testing::GasDrive(holds, {FactorsAt(kNeedPositions), FactorsAt({15, 19})}),
                         kDefaultParameters);
  harness.desktop.SetTimeLimit(300 * kSecond);
  harness.desktop.At(300 * kMillisecond, [&] {
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Read from ZAV?"
    harness.desktop.Press(kMain, kCommandReadFromZav);
  });
  std::string beforeWrite;
  harness.desktop.At(15 * kSecond, [&] {
    harness.desktop.ChooseAddedItem(kMain, kCalibrate);
    ChooseLog(kCalibratePetrolChoose, petrolLog);
    ChooseLog(kCalibrateGasChoose, gasLog);
    beforeWrite = Text(kCalibrateGuidance);
    harness.desktop.At(harness.desktop.Now() + kSecond, [&] {
      harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Send data to ZAV ?"
      harness.desktop.Press(kParametersTemplateId, kParametersOkButton);
    });
    harness.desktop.At(harness.desktop.Now() + 20 * kSecond,
                       [&] { harness.desktop.RequestClose(kParametersTemplateId); });
    Press(kCalibrateApply);  // returns once the Parameters dialog closed
  });
  std::string afterWrite;
  bool applyDisabled = false;
  harness.desktop.At(40 * kSecond, [&] {
    afterWrite = Text(kCalibrateGuidance);
    applyDisabled = Shown(kCalibrateApply).disabled;
  });
  EXPECT_EQ(harness.RunUntil(41 * kSecond), 0);
  EXPECT_EQ(beforeWrite.rfind("Press \"Apply to Parameters…\"", 0), 0U) << beforeWrite;
  const FormulaResult written = ApplyFormulaTo(599, kNeedPositions);
  ASSERT_EQ(harness.controller.Register(kYAxisRegister), written.yAxis) << "the write was done";
  EXPECT_EQ(afterWrite.find("Apply"), std::string::npos) << afterWrite;
  EXPECT_NE(afterWrite.find("written"), std::string::npos) << afterWrite;
  EXPECT_NE(afterWrite.find("\"Record on gas\""), std::string::npos) << afterWrite;
  EXPECT_TRUE(applyDisabled);
}

// While the window records, the cells it reports come from the rows the log gained since
// the last count, read where the file grew: what it has gathered is the log as read whole
// (up to its last count), and the count shown is that of those rows.
TEST_F(CalibrateWindowTest, WhileRecordingTheCellsCountedFollowTheGrowingLog) {
  bool checked = false;
  harness.desktop.At(2 * kSecond, [&] {
    harness.desktop.ChooseAddedItem(kMain, kCalibrate);
    Press(kCalibratePetrolRecord);
    ASSERT_TRUE(host.State().recording);
  });
  harness.desktop.At(95 * kSecond, [&] {
    const CalibrateWindow& state = host.State();
    ASSERT_TRUE(state.logs[0]);
    const CsvLogContents whole = ReadCsvLog(*state.logs[0]);  // petrol
    ASSERT_EQ(whole.error, "");
    ASSERT_GT(state.recorded.size(), 300U) << "about 90 s of rows";
    ASSERT_LE(state.recorded.size(), whole.samples.size());
    EXPECT_GT(state.recorded.size() + 60, whole.samples.size()) << "counted within 5 s";
    for (std::size_t i = 0; i < state.recorded.size(); ++i) {
      ASSERT_EQ(state.recorded[i].seconds, whole.samples[i].seconds) << i;
      ASSERT_EQ(state.recorded[i].shown, whole.samples[i].shown) << i;
    }
    const std::span<const DecodedSample> counted(whole.samples.data(), state.recorded.size());
    EXPECT_EQ(state.recordingCells, CellsCoveredOn(counted, Fuel::Petrol));
    EXPECT_NE(Text(kCalibrateGuidance)
                  .find(std::to_string(state.recordingCells) + " load cells covered so far"),
              std::string::npos)
        << Text(kCalibrateGuidance);
    Press(kCalibratePetrolRecord);  // Stop
    EXPECT_TRUE(host.State().recorded.empty());
    checked = true;
  });
  EXPECT_EQ(harness.RunUntil(96 * kSecond), 0);
  EXPECT_TRUE(checked);
}

// A recording started from the Log menu goes on unless the fitter agrees to stop it; when
// its stop fails, the window says why and records nothing.
TEST_F(CalibrateWindowTest,
       AGuidedRecordingAsksBeforeStoppingOneFromTheLogMenuAndShowsAFailedStop) {
  const std::filesystem::path menuLog = harness.dir / "from-menu.csv";
  // A stream with no file behind it, room enough for a second's rows: syncing it fails.
  std::array<char, 64 * 1024> memory{};
  std::FILE* unsyncable = fmemopen(memory.data(), memory.size(), "w");
  ASSERT_NE(unsyncable, nullptr);
  bool stopFailed = false;
  harness.desktop.At(2 * kSecond, [&] {
    harness.desktop.QueueFileAnswer(menuLog.string());
    harness.desktop.ChooseAddedItem(kMain, kStartRecording);
    ASSERT_TRUE(RecordingTo(menuLog));
    harness.desktop.ChooseAddedItem(kMain, kCalibrate);
  });
  harness.desktop.At(5 * kSecond, [&] {
    ASSERT_TRUE(RecordingTo(menuLog));
    harness.desktop.QueueMessageAnswer(MessageAnswer::Cancel);
    Press(kCalibratePetrolRecord);
    ASSERT_FALSE(harness.desktop.Messages().empty());
    const headless::MessageRecord& question = harness.desktop.Messages().back();
    EXPECT_EQ(question.goOnLabel, "Stop and record");
    EXPECT_NE(question.text.find("from-menu.csv"), std::string::npos) << question.text;
    EXPECT_TRUE(RecordingTo(menuLog)) << "cancelled: the menu's recording goes on";
    EXPECT_EQ(Text(kCalibratePetrolRecord), "Record on petrol");
    EXPECT_FALSE(host.State().recording);
  });
  harness.desktop.At(7 * kSecond, [&] {
    // The log cannot be saved to disk when it is closed, as when the disk went away.
    harness.program.dataLog.recorder.writer.stream = unsyncable;
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
    Press(kCalibratePetrolRecord);
    EXPECT_EQ(harness.desktop.Messages().back().goOnLabel, "Stop and record");
    EXPECT_NE(Text(kCalibrateMessage).find("Could not save the log file"), std::string::npos)
        << Text(kCalibrateMessage);
    EXPECT_FALSE(host.State().recording) << "nothing recorded after the failed stop";
    EXPECT_FALSE(harness.program.dataLog.recorder.recording);
    EXPECT_EQ(Text(kCalibratePetrolRecord), "Record on petrol");
    stopFailed = true;
  });
  EXPECT_EQ(harness.RunUntil(9 * kSecond), 0);
  EXPECT_TRUE(stopFailed);
  std::fclose(unsyncable);
}

int IntAfter(const std::string& text, std::string_view key, std::size_t from) {
  const std::size_t at = text.find(key, from);
  int value = -1;
  if (at != std::string::npos) {
    const char* begin = text.data() + at + key.size();
    std::from_chars(begin, text.data() + text.size(), value);
  }
  return value;
}

// Without a parameter file beside the gas log, the window takes the controller's confirmed
// set and zavctl the set given with --in-force; given the same set, both propose the same
// and say where the factors in force came from. Before the controller's set is known the
// window proposes nothing and says what to do.
// Only a proposal that moves a trackbar draws a line of its own and names it in the legend;
// a calibrated car shows the line in force alone.
TEST(CalibrationChartTest, TheProposedLineIsDrawnOnlyWhenItProposesAChange) {
  Calibration calibration;
  for (int i = 0; i < 4; ++i) {
    LoadCell cell;
    cell.gasSamples = cell.petrolSamples = 20;
    cell.petrolMs = cell.gasPetrolMs = 3.0 + i;
    cell.gasMs = cell.petrolMs * (2.2 - 0.2 * i);
    calibration.cells.push_back(cell);
  }
  calibration.proposal = Proposal{.current = {10, 10},
                                  .proposed = {10, 10},
                                  .currentFactors = {2.4, 1.3},
                                  .proposedFactors = {2.4, 1.3}};
  const auto drawn = [&](bool calibrated, TrackbarPositions proposed) {
    calibration.calibrated = calibrated;
    calibration.proposal->proposed = proposed;
    calibration.proposal->proposedFactors = proposed == calibration.proposal->current
                                                ? calibration.proposal->currentFactors
                                                : Factors{2.5, 1.2};
    std::vector<DrawOp> ops;
    headless::RecordingCanvas canvas(ops);
    DrawCalibrationChart(canvas, {600, 400}, calibration);
    return ReadChart(ops);
  };
  for (const auto& [calibrated, proposed] :
       {std::pair{true, TrackbarPositions{10, 10}}, std::pair{false, TrackbarPositions{10, 10}}}) {
    const ChartDrawing chart = drawn(calibrated, proposed);
    EXPECT_EQ(chart.inForceLines.size(), 1u);
    EXPECT_TRUE(chart.proposedLines.empty()) << calibrated;
    EXPECT_FALSE(Has(chart.texts, "Proposed")) << calibrated;
  }
  const ChartDrawing change = drawn(false, {12, 9});
  EXPECT_EQ(change.inForceLines.size(), 1u);
  EXPECT_EQ(change.proposedLines.size(), 1u);
  EXPECT_TRUE(Has(change.texts, "Proposed"));
}

TEST(CalibrationInForceTest, TheWindowAndZavctlAgreeOnTheFactorsInForceAndTheProposal) {
  const zav::testing::TempDir folder;
  constexpr TrackbarPositions kInForce{20, 15};
  ParameterWords set = kDefaultParameters;
  const FormulaResult formula = ApplyFormulaTo(599, kInForce);
  set[88 - 80] = static_cast<std::uint16_t>(formula.yAxis);
  set[89 - 80] = static_cast<std::uint16_t>(formula.numerator);
  const std::vector<testing::Hold> holds = testing::LoadRangeHolds();
  testing::WriteDriveLog(folder / "petrol.csv", testing::PetrolDrive(holds), kDefaultParameters);
  testing::WriteDriveLog(
      folder / "gas.csv",
      testing::GasDrive(holds, {FactorsAt(kWindowNeedPositions), FactorsOf(set)}), set);
  std::filesystem::remove(folder / "gas.csv.params.car");
  testing::WriteParameters(folder / "in-force.car", set);

  const testing::ZavctlRun zavctl =
      testing::Zavctl({"calibrate", "--json", "--in-force", (folder / "in-force.car").string(),
                       (folder / "petrol.csv").string(), (folder / "gas.csv").string()});
  ASSERT_EQ(zavctl.code, 0) << zavctl.err;
  const std::size_t proposed = zavctl.out.find("\"proposed\"");
  ASSERT_NE(proposed, std::string::npos) << zavctl.out;
  EXPECT_NE(zavctl.err.find("given with --in-force"), std::string::npos);

  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  std::optional<ParameterWords> confirmed;
  auto state = std::make_shared<CalibrateWindow>();
  state->actions.confirmedSet = [&confirmed] { return confirmed; };
  OpenCalibrateWindow(desktop, {}, state);
  SetCalibrateLog(desktop, *state, Fuel::Petrol, folder / "petrol.csv");
  SetCalibrateLog(desktop, *state, Fuel::Gas, folder / "gas.csv");
  EXPECT_FALSE(state->result);
  const std::string& message = desktop.Control(kWindow, kCalibrateMessage).text;
  EXPECT_NE(message.find("Read from ZAV"), std::string::npos) << message;

  confirmed = set;
  SetCalibrateLog(desktop, *state, Fuel::Gas, folder / "gas.csv");
  ASSERT_TRUE(state->result && state->result->proposal);
  EXPECT_NE(desktop.Control(kWindow, kCalibrateMessage).text.find("from the controller's set"),
            std::string::npos);
  EXPECT_EQ(state->result->proposal->current, PositionsOf(set));
  EXPECT_EQ(state->result->proposal->proposed.left,
            IntAfter(zavctl.out, "\"leftTrackbar\": ", proposed));
  EXPECT_EQ(state->result->proposal->proposed.right,
            IntAfter(zavctl.out, "\"rightTrackbar\": ", proposed));
  EXPECT_EQ(state->result->proposal->proposed, kWindowNeedPositions);
  EXPECT_EQ(state->logCache.reads, 2);  // each log once, however often it recalculated
}

}  // namespace
}  // namespace zav
