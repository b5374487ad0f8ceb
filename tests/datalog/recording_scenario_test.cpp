// The menu "Log" on the headless host: a recording made through the menu while the window
// polls and a block transfer runs, its status segment and menu marks, a write error that
// stops it, and logs opened again (whole, cut off, or not a log at all).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include "charts/desktop_chart_windows.h"
#include "datalog/csv_log_reader.h"
#include "params/parameter_file.h"
#include "params/parameter_set.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "resources/strip_chart_template.h"
#include "tests/support/comma_locale.h"
#include "tests/support/program_harness.h"
#include "ui/data_log_commands.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::ProgramHarness;

constexpr int kMain = kMainTemplateId;

// The program's chart windows, counting what they were asked to do on the way.
struct CountingCharts : ChartWindows {
  explicit CountingCharts(ChartWindowsInputs inputs) : windows(std::move(inputs)) {}
  void ShowLiveChart() override {
    ++liveCharts;
    windows.ShowLiveChart();
  }
  void ShowLiveScatter() override {
    ++scatters;
    windows.ShowLiveScatter();
  }
  void SessionChanged() override {
    ++changes;
    windows.SessionChanged();
  }
  void ShowLog(LogView log) override {
    logs.push_back(log);
    windows.ShowLog(std::move(log));
  }
  DesktopChartWindows windows;
  int liveCharts = 0;
  int scatters = 0;
  int changes = 0;
  std::vector<LogView> logs;
};

class LogMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    harness.program.dataLog.source.clock =
        SampleClock{[this] { return 1'765'000'000'000 + harness.clock.Now() / kMillisecond; },
                    [this] { return harness.clock.Now() / kMillisecond; }};
    harness.program.dataLog.charts = &charts;
  }
  const headless::AddedMenuItem& Item(int id) const {
    return *harness.desktop.Newest(kMain)->AddedItem(id);
  }
  std::string StatusLine() const { return *harness.desktop.Newest(kMain)->statusLine; }

  ProgramHarness harness;
  CountingCharts charts{{&harness.desktop, &harness.program.dataLog.session,
                         &harness.program.parameters.confirmedSet,
                         [this] { return harness.program.link.mainWindow; },
                         [this] { return harness.program.dataLog.source.clock.unixMs(); }}};
};

TEST_F(LogMenuTest, RecordsEverySampleThroughABlockTransferAndKeepsTheParametersBeside) {
  const auto chosen = harness.dir / "logs" / "drive.csv";
  std::string segmentWhileRecording;
  bool checkedWhileRecording = false;
  harness.desktop.At(1 * kSecond, [&] {
    harness.desktop.QueueFileAnswer(chosen.string());
    harness.desktop.ChooseAddedItem(kMain, kStartRecording);
  });
  harness.desktop.At(2 * kSecond, [&] {
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Read from ZAV?"
    harness.desktop.Press(kMain, kCommandReadFromZav);
  });
  harness.desktop.At(8 * kSecond, [&] {
    segmentWhileRecording = StatusLine();
    checkedWhileRecording = Item(kStartRecording).checked;
    harness.desktop.ChooseAddedItem(kMain, kStopRecording);
  });
  harness.RunUntil(9 * kSecond);

  // The save dialog proposed logs/zavmon-<local time>.csv beside zavmon.cfg.
  const auto& dialog = harness.desktop.FileDialogs().at(0);
  EXPECT_TRUE(dialog.save);
  EXPECT_EQ(dialog.options.filterPattern, "*.csv");
  const std::filesystem::path proposed = dialog.options.initialPath;
  EXPECT_EQ(proposed.parent_path(), harness.dir / "logs");
  EXPECT_EQ(proposed.filename().string().substr(0, 7), "zavmon-");
  EXPECT_EQ(proposed.extension(), ".csv");

  const CsvLogContents log = ReadCsvLog(chosen);
  ASSERT_EQ(log.error, "");
  // Every sample of the session between start and stop is a row, and nothing else.
  const auto& session = harness.program.dataLog.session.samples;
  std::vector<double> sessionSeconds;
  for (const DecodedSample& sample : session) {
    if (sample.seconds > 1.0 - 0.3 && sample.seconds < 8.0 - 0.3) {
      sessionSeconds.push_back(sample.seconds);
    }
  }
  ASSERT_EQ(log.samples.size(), sessionSeconds.size());
  double longestGap = 0.0;
  for (std::size_t i = 1; i < log.samples.size(); ++i) {
    EXPECT_NEAR(log.samples[i].seconds - log.samples[0].seconds,
                sessionSeconds[i] - sessionSeconds[0], 1e-9);
    longestGap = std::max(longestGap, log.samples[i].seconds - log.samples[i - 1].seconds);
  }
  // The read of 23 registers took the line for a few seconds: a gap, then rows again.
  EXPECT_GT(longestGap, 3.0);
  EXPECT_GT(log.samples.back().seconds, 6.0);
  EXPECT_EQ(charts.changes, static_cast<int>(session.size()));

  EXPECT_TRUE(checkedWhileRecording);
  EXPECT_NE(segmentWhileRecording.find(" \u00b7 Recording: "), std::string::npos)
      << segmentWhileRecording;
  EXPECT_NE(segmentWhileRecording.find(" rows, "), std::string::npos);
  EXPECT_NE(segmentWhileRecording.find(" \u00b7 drive.csv"), std::string::npos);
  EXPECT_FALSE(Item(kStartRecording).checked);
  EXPECT_FALSE(Item(kStopRecording).enabled);
  EXPECT_EQ(StatusLine().find("Recording"), std::string::npos);  // only the connection is left

  // The parameter file beside the log holds the registers as the read left them.
  const LoadedParameters beside = ReadParameterFile(harness.dir / "logs" / "drive.csv.params.car");
  ASSERT_TRUE(beside.words.has_value());
  EXPECT_EQ((*beside.words)[89 - 80], harness.controller.Register(89));
  EXPECT_NE((*beside.words)[89 - 80], 0);
}

TEST_F(LogMenuTest, AWriteErrorStopsTheRecordingWithAMessageNamingFileAndReason) {
  const auto chosen = harness.dir / "full.csv";
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  harness.desktop.At(1 * kSecond, [&] {
    harness.desktop.QueueFileAnswer(chosen.string());
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // the stop, when it comes
    harness.desktop.ChooseAddedItem(kMain, kStartRecording);
    rlimit small = before;
    small.rlim_cur = 3000;
    setrlimit(RLIMIT_FSIZE, &small);
  });
  harness.RunUntil(5 * kSecond);
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, oldHandler);

  ASSERT_EQ(harness.desktop.Messages().size(), 1U);
  const auto& message = harness.desktop.Messages()[0];
  EXPECT_EQ(message.caption, "Data log");
  EXPECT_EQ(message.icon, MessageIcon::Error);
  EXPECT_EQ(message.text.substr(0, message.text.find("\n")),
            "Recording stopped: Could not write to the log file \"" + chosen.string() +
                "\": File too large");
  EXPECT_FALSE(harness.program.dataLog.recorder.recording);
  EXPECT_FALSE(Item(kStartRecording).checked);
  EXPECT_TRUE(Item(kStartRecording).enabled);
  const std::string text = testing::ReadFile(chosen);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  const CsvLogContents log = ReadCsvLog(chosen);
  EXPECT_EQ(log.error, "");
  EXPECT_EQ(log.cutLine, 0);
  EXPECT_GT(log.samples.size(), 3U);
}

TEST_F(LogMenuTest, OpensLogsWholeOrCutOffAndRefusesOthersWithTheLine) {
  // A short recording to open again, then the same file cut inside its last row.
  const auto whole = harness.dir / "whole.csv";
  const auto cut = harness.dir / "cut.csv";
  const auto other = harness.dir / "other.csv";
  harness.desktop.At(1 * kSecond, [&] {
    harness.desktop.QueueFileAnswer(whole.string());
    harness.desktop.ChooseAddedItem(kMain, kStartRecording);
  });
  harness.desktop.At(3 * kSecond, [&] {
    harness.desktop.ChooseAddedItem(kMain, kStopRecording);
    const std::string text = testing::ReadFile(whole);
    testing::WriteFile(cut, text.substr(0, text.size() - 20));
    testing::WriteFile(other, text.substr(0, text.find("\r\n") + 2) + "1,2,3\r\n");
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // the cut row
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // not a log
    for (const auto& path : {whole, cut, other}) {
      harness.desktop.QueueFileAnswer(path.string());
      harness.desktop.ChooseAddedItem(kMain, kOpenLog);
    }
    harness.desktop.ChooseAddedItem(kMain, kShowLiveChart);
  });
  harness.RunUntil(4 * kSecond);

  ASSERT_EQ(charts.logs.size(), 2U);
  ASSERT_EQ(harness.desktop.FileDialogs().size(), 4U);
  EXPECT_EQ(harness.desktop.FileDialogs()[1].options.initialPath, whole.string())
      << "Open log proposes the drive just recorded";
  const std::size_t rows = charts.logs[0].samples.size();
  EXPECT_GT(rows, 10U);
  EXPECT_EQ(charts.logs[0].path, whole);
  // Nothing was read from the controller: no parameters beside the log, no factors.
  EXPECT_FALSE(charts.logs[0].factors.has_value());
  EXPECT_EQ(charts.logs[1].samples.size(), rows - 1);
  EXPECT_FALSE(charts.logs[1].factors.has_value());  // no cut.car beside it
  EXPECT_EQ(charts.liveCharts, 1);
  // Both logs and the live chart opened as windows, each titled and drawn: a log's lines
  // hold its rows.
  const auto opened = harness.desktop.DialogsOf(kStripChartTemplateId);
  ASSERT_EQ(opened.size(), 3U);
  EXPECT_EQ(opened[0]->title, "whole.csv");
  EXPECT_EQ(opened[1]->title, "cut.csv");
  EXPECT_EQ(opened[2]->title, "Live chart");
  for (const headless::DialogRecord* window : opened) {
    EXPECT_GT(window->controls.at(kStripCanvas).paints, 0) << window->title;
  }
  std::size_t drawnPoints = 0;
  for (const headless::DrawOp& op : opened[1]->controls.at(kStripCanvas).drawing) {
    drawnPoints = op.kind == headless::DrawOp::Kind::Polyline && op.points.size() > 2
                      ? std::max(drawnPoints, op.points.size())
                      : drawnPoints;
  }
  EXPECT_EQ(drawnPoints, rows - 1) << "every row of the cut log, in one unbroken line";

  const auto& messages = harness.desktop.Messages();
  ASSERT_EQ(messages.size(), 2U);
  EXPECT_EQ(messages[0].icon, MessageIcon::Information);
  EXPECT_NE(messages[0].text.find("line " + std::to_string(rows + 1)), std::string::npos);
  EXPECT_EQ(messages[1].icon, MessageIcon::Error);
  EXPECT_EQ(messages[1].text, "The log \"" + other.string() +
                                  "\" cannot be shown:\nline 2: it has 3 fields instead of 23");
}

// A fitter's laptop with a German locale (decimal comma) in Central European Time records a
// drive beside his own "Van.car": the log reads back with points, its times carry the
// offset from UTC, the fitter's file is left alone, the parameter file beside the log holds
// only what the controller confirmed (nothing before the first read, the read values after
// it, not the "Default values" that were never sent), and a log named .car is refused.
TEST_F(LogMenuTest, UnderACommaLocaleALogBesideTheFittersFilesKeepsOnlyTheControllersSet) {
  testing::CommaLocale locale;
  ZAV_ENTER_COMMA_LOCALE(locale);
  setenv("TZ", "CET-1", 1);  // one hour ahead of UTC, no daylight saving
  tzset();
  const auto logs = harness.dir / "logs";
  std::filesystem::create_directories(logs);
  const auto van = logs / "Van.csv";
  const auto fittersCar = logs / "Van.car";
  testing::WriteFile(fittersCar, std::string(32, '\x11'));
  harness.controller.SetRegister(89, 40000);  // the controller's own set, not the defaults
  std::string statusBeforeRead;
  bool besideBeforeRead = true;
  harness.desktop.At(1 * kSecond, [&] {
    harness.desktop.QueueFileAnswer((logs / "drive.car").string());
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // the refusal
    harness.desktop.ChooseAddedItem(kMain, kStartRecording);
    harness.desktop.QueueFileAnswer(van.string());
    harness.desktop.ChooseAddedItem(kMain, kStartRecording);
  });
  harness.desktop.At(2 * kSecond, [&] {
    statusBeforeRead = StatusLine();
    besideBeforeRead = std::filesystem::exists(ParametersPathOf(van));
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Read from ZAV?"
    harness.desktop.Press(kMain, kCommandReadFromZav);
  });
  harness.desktop.At(8 * kSecond, [&] { harness.desktop.Press(kMain, kCommandDefaultValues); });
  harness.desktop.At(9 * kSecond, [&] { harness.desktop.ChooseAddedItem(kMain, kStopRecording); });
  harness.RunUntil(10 * kSecond);
  unsetenv("TZ");
  tzset();

  // "drive.car" was refused, and nothing of that name was made.
  ASSERT_GE(harness.desktop.Messages().size(), 1U);
  EXPECT_EQ(harness.desktop.Messages()[0].icon, MessageIcon::Error);
  EXPECT_NE(harness.desktop.Messages()[0].text.find("\"drive.car\""), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(logs / "drive.car"));

  // Before the read: no parameter file, and the status line says why.
  EXPECT_FALSE(besideBeforeRead);
  EXPECT_NE(statusBeforeRead.find("parameters not read yet"), std::string::npos)
      << statusBeforeRead;

  // The fitter's own file is untouched; the log's parameters are the controller's.
  EXPECT_EQ(testing::ReadFile(fittersCar), std::string(32, '\x11'));
  EXPECT_EQ(ParametersPathOf(van), logs / "Van.csv.params.car");
  const LoadedParameters beside = ReadParameterFile(ParametersPathOf(van));
  ASSERT_TRUE(beside.words.has_value()) << beside.error;
  for (unsigned address = 80; address <= 94; ++address) {
    EXPECT_EQ((*beside.words)[address - 80],
              harness.controller.Register(static_cast<std::uint8_t>(address)))
        << "register " << address;
  }
  EXPECT_EQ((*beside.words)[89 - 80], 40000);
  EXPECT_EQ(RegisterValue(harness.program.link.image, 89), kDefaultParameters[89 - 80])
      << "\"Default values\" changed the image, not the controller's set";

  // The log reads back whole: seconds with a point, times with the offset.
  const std::string text = testing::ReadFile(van);
  const std::size_t secondRow = text.find("\r\n") + 2;
  EXPECT_EQ(text.substr(secondRow + 23, 7), "+01:00,") << text.substr(secondRow, 60);
  const CsvLogContents log = ReadCsvLog(van);
  ASSERT_EQ(log.error, "");
  ASSERT_GT(log.samples.size(), 20U);
  EXPECT_DOUBLE_EQ(log.samples[1].seconds, 0.15);
  EXPECT_GT(log.samples.back().seconds, 7.0);
  EXPECT_EQ(harness.desktop.Messages().size(), 2U) << "the refusal and the read's question";
}

// The stick with the log is pulled just as the window closes: the recording cannot be
// ended cleanly, and the fitter is told so before the window goes, not left believing the
// log is whole.
TEST_F(LogMenuTest, ARecordingThatCannotEndWhenTheWindowClosesIsReported) {
  const auto chosen = harness.dir / "drive.csv";
  harness.desktop.At(1 * kSecond, [&] {
    harness.desktop.QueueFileAnswer(chosen.string());
    harness.desktop.ChooseAddedItem(kMain, kStartRecording);
  });
  harness.desktop.At(3 * kSecond + 1 * kMillisecond, [&] {
    ::close(::fileno(harness.program.dataLog.recorder.writer.stream));  // the file is gone
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);
    harness.desktop.RequestClose(kMain);
  });
  harness.RunUntil(5 * kSecond);

  ASSERT_EQ(harness.desktop.Messages().size(), 1U);
  const auto& message = harness.desktop.Messages()[0];
  EXPECT_EQ(message.caption, "Data log");
  EXPECT_EQ(message.icon, MessageIcon::Error);
  EXPECT_EQ(message.text.substr(0, message.text.find('\n')),
            "The recording could not be ended cleanly: Could not write to the log file \"" +
                chosen.string() + "\": Bad file descriptor");
  EXPECT_FALSE(harness.program.dataLog.recorder.recording);
}

}  // namespace
}  // namespace zav
