// The data log's CSV: what a recording of the running program writes, how write errors end
// it with whole rows only, and how the reader takes logs back or refuses them.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "datalog/csv_fields.h"
#include "datalog/csv_log_reader.h"
#include "datalog/csv_log_writer.h"
#include "datalog/local_time.h"
#include "datalog/sample_columns.h"
#include "tests/support/program_harness.h"
#include "tests/support/temp_dir.h"
#include "ui/live_display.h"

namespace zav {
namespace {

using testing::kMillisecond;
using testing::kSecond;
using testing::ProgramHarness;

constexpr std::int64_t kEpochMs = 1'765'000'000'000;  // some afternoon in December 2025

std::vector<std::string> Fields(const std::string& line) {
  std::size_t offset = 0;
  int number = 1;
  return NextCsvRecord(line, offset, number).fields;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The program runs against the in-process controller; every live sample goes to the log.
class RecordingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    source.clock.unixMs = [this] { return kEpochMs + harness.clock.Now() / kMillisecond; };
    source.clock.steadyMs = [this] { return harness.clock.Now() / kMillisecond; };
    harness.program.link.hooks.liveSample.push_back([this](const LiveReplies& replies) {
      samples.push_back(TakeLiveSample(source, replies));
      WriteCsvRow(writer, samples.back());
    });
  }

  ProgramHarness harness;
  LiveSampleSource source;
  CsvLogWriter writer;
  std::vector<LiveSample> samples;
};

TEST_F(RecordingTest, ThreeSecondsGiveOneRowPerTickDecodedAsTheWindowShowsThem) {
  const auto path = harness.dir / "drive.csv";
  ASSERT_TRUE(OpenCsvLog(writer, path)) << writer.error;
  harness.RunUntil(3 * kSecond + 10 * kMillisecond);
  ASSERT_TRUE(CloseCsvLog(writer)) << writer.error;

  // 20 ticks in 3 s; the first one's poll is answered in the second: 19 samples.
  ASSERT_EQ(samples.size(), 19U);
  EXPECT_EQ(writer.rows, samples.size());
  const std::string text = testing::ReadFile(path);
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), samples.size() + 1);
  EXPECT_EQ(lines[0],
            "Time (local),Seconds (s),BA_1 (ms),BA_2 (ms),BA_3 (ms),BA_4 (ms),GAS_1 (ms),"
            "GAS_2 (ms),GAS_3 (ms),GAS_4 (ms),BA_V (ms),Temp. (C),Manif (mBar),Regul. (mBar),"
            "Delta p (mBar),Battery (mV),RPM,Lambda (mV),Register 41,Register 42,Register 43,"
            "Status,Status text");
  EXPECT_EQ(Fields(lines[1])[0], "2025-12-06T05:46:40.301+00:00");
  EXPECT_EQ(Fields(lines[1])[1], "0.000");
  EXPECT_EQ(Fields(lines[2])[1], "0.150");
  EXPECT_EQ(Fields(lines[19])[1], "2.700");

  // The last row holds what the window shows at the end, field for field.
  const std::vector<std::string> last = Fields(lines.back());
  const std::array<int, kShownColumns> edits{1012, 1013, 1014, 1015, 1017, 1018, 1019, 1020,
                                             1016, 1028, 1021, 1022, 1023, 1026, 1024, 1025};
  for (std::size_t i = 0; i < edits.size(); ++i) {
    EXPECT_EQ(last[2 + i], harness.MainText(edits[i])) << "column " << i;
  }
  EXPECT_EQ(last[21], "12");
  EXPECT_EQ(last[22], harness.MainText(kStatusEdit));
  EXPECT_EQ(last[22], "Petrol");
  EXPECT_NE(last[2], "0.00");
  for (int i = 0; i < kHiddenColumns; ++i) {
    EXPECT_EQ(last[18 + static_cast<std::size_t>(i)],
              std::to_string(samples.back().values[static_cast<std::size_t>(9 + i)]));
  }

  // Read back, the log equals the samples as decoded for the charts.
  const CsvLogContents contents = ReadCsvLog(path);
  ASSERT_EQ(contents.error, "");
  EXPECT_EQ(contents.cutLine, 0);
  ASSERT_EQ(contents.samples.size(), samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const DecodedSample expected = DecodeSample(samples[i], samples[0].steadyMs);
    const DecodedSample& got = contents.samples[i];
    EXPECT_DOUBLE_EQ(got.seconds, expected.seconds);
    EXPECT_EQ(got.shown, expected.shown) << "row " << i;
    EXPECT_EQ(got.hidden, expected.hidden);
    EXPECT_EQ(got.status, expected.status);
    EXPECT_TRUE(got.statusKnown);
  }
}

TEST_F(RecordingTest, AWriteErrorEndsTheLogWithItsReasonAndOnlyWholeRows) {
  const auto path = harness.dir / "full.csv";
  ASSERT_TRUE(OpenCsvLog(writer, path)) << writer.error;
  // The disk "fills" at 2000 bytes: the row that crosses it is taken only in part.
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 2000;
  setrlimit(RLIMIT_FSIZE, &small);
  harness.RunUntil(3 * kSecond);
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(IsCsvLogOpen(writer));
  EXPECT_EQ(writer.error,
            "Could not write to the log file \"" + path.string() + "\": File too large");
  EXPECT_FALSE(WriteCsvRow(writer, samples.back()));
  const std::string text = testing::ReadFile(path);
  EXPECT_EQ(text.size(), writer.bytesWritten);
  EXPECT_LE(text.size(), 2000U);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  const CsvLogContents contents = ReadCsvLog(path);
  EXPECT_EQ(contents.error, "");
  EXPECT_EQ(contents.cutLine, 0);
  EXPECT_EQ(contents.samples.size(), writer.rows);
  EXPECT_GT(writer.rows, 2U);
  EXPECT_LT(writer.rows, samples.size());
}

// The file takes a second's rows at once: a crash loses at most the rows of the last second,
// and the disk is not written on every tick.
TEST_F(RecordingTest, WhileRecordingTheFileHoldsEveryRowOlderThanASecondInWholeRows) {
  const auto path = harness.dir / "drive.csv";
  ASSERT_TRUE(OpenCsvLog(writer, path)) << writer.error;
  std::size_t growths = 0;
  std::uintmax_t size = std::filesystem::file_size(path);
  harness.program.link.hooks.liveSample.push_back([&](const LiveReplies&) {
    const std::string text = testing::ReadFile(path);
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n") << "whole rows only";
    const std::size_t rowsOnDisk = Lines(text).size() - 1;
    const std::int64_t nowMs = samples.back().steadyMs;
    const auto older = std::count_if(samples.begin(), samples.end(), [&](const LiveSample& s) {
      return nowMs - s.steadyMs >= 1000;
    });
    ASSERT_GE(rowsOnDisk, static_cast<std::size_t>(older)) << "at " << nowMs << " ms";
    growths += text.size() != size ? 1 : 0;
    size = text.size();
  });
  harness.RunUntil(6 * kSecond);
  EXPECT_GE(samples.size(), 35U);
  EXPECT_LE(growths, 6U) << "a write a second, not a write a row";
  ASSERT_TRUE(CloseCsvLog(writer)) << writer.error;
  EXPECT_EQ(ReadCsvLog(path).samples.size(), samples.size()) << "the rest written at the end";
}

// A moment in zones with whole and half hours either side of UTC (POSIX zone texts: the sign
// is the other way round), as the log, the window's clock and the file names write it.
struct ZoneCase {
  const char* zone;
  std::int64_t unixMs;
  const char* time;
  const char* clock;
  const char* stamp;
};

class LocalTimeTextTest : public ::testing::TestWithParam<ZoneCase> {
 protected:
  void TearDown() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};

TEST_P(LocalTimeTextTest, WritesTheLocalTimeWithItsOffsetInFixedDigits) {
  setenv("TZ", GetParam().zone, 1);
  tzset();
  EXPECT_EQ(LocalTimeText(GetParam().unixMs), GetParam().time);
  EXPECT_EQ(LocalClockText(GetParam().unixMs), GetParam().clock);
  EXPECT_EQ(LocalStampForFileName(GetParam().unixMs), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, LocalTimeTextTest,
    ::testing::Values(
        // 2001-09-09 01:46:40.007 UTC
        ZoneCase{"UTC0", 1'000'000'000'007, "2001-09-09T01:46:40.007+00:00", "01:46:40",
                 "20010909-014640"},
        ZoneCase{"NST3:30", 1'000'000'000'007, "2001-09-08T22:16:40.007-03:30", "22:16:40",
                 "20010908-221640"},
        ZoneCase{"IST-5:30", 1'000'000'000'999, "2001-09-09T07:16:40.999+05:30", "07:16:40",
                 "20010909-071640"},
        // A moment before 1970, and a zone twelve hours ahead: the day before turns over.
        ZoneCase{"NZT-12", -1, "1970-01-01T11:59:59.999+12:00", "11:59:59", "19700101-115959"}));

TEST(CsvFieldsTest, QuotesOnlyWhatNeedsItAndReadsItBack) {
  std::string row;
  for (const char* field : {"plain", "a,b", "say \"hi\"", "two\r\nlines", ""}) {
    if (!row.empty() || field != std::string("plain")) {
      row += ',';
    }
    AppendCsvField(row, field);
  }
  EXPECT_EQ(row, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",");
  row += "\r\nnext\r\n";
  std::size_t offset = 0;
  int line = 1;
  const CsvRecord record = NextCsvRecord(row, offset, line);
  EXPECT_EQ(record.fields,
            (std::vector<std::string>{"plain", "a,b", "say \"hi\"", "two\r\nlines", ""}));
  EXPECT_TRUE(record.ended);
  EXPECT_FALSE(record.badQuotes);
  EXPECT_EQ(line, 3);
  EXPECT_EQ(NextCsvRecord(row, offset, line).fields, std::vector<std::string>{"next"});
}

// A log of two sound rows to break in different ways.
std::string SoundLog() {
  return CsvHeaderRow() +
         "2026-12-08T15:04:05.123,0.000,3.01,3.05,2.98,3.02,3.61,3.66,3.58,3.62,3.01,20,380,1380,"
         "1000,14000,800,500,200,20,0,12,Petrol\r\n"
         "2026-12-08T15:04:05.273,0.150,3.01,3.05,2.98,3.02,3.61,3.66,3.58,3.62,3.01,20,380,"
         "1380,1000,14000,800,500,200,20,0,6,Gas\r\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.rfind(from), from.size(), to);
  return text;
}

TEST(CsvLogReaderTest, ReadsASoundLogAndLeavesOutACutOffLastRow) {
  const CsvLogContents sound = ParseCsvLog(SoundLog());
  ASSERT_EQ(sound.error, "");
  ASSERT_EQ(sound.samples.size(), 2U);
  EXPECT_EQ(sound.samples[1].status, kStatusGas);
  EXPECT_FLOAT_EQ(sound.samples[1].shown[kFirstGasColumn + 1], 3.66f);
  EXPECT_FLOAT_EQ(sound.samples[1].shown[kRpmColumn], 800.0f);
  EXPECT_DOUBLE_EQ(sound.samples[1].seconds, 0.15);

  const std::string text = SoundLog();
  for (const std::size_t cut : {std::size_t{1}, std::size_t{2}, std::size_t{30}}) {
    const CsvLogContents contents = ParseCsvLog(text.substr(0, text.size() - cut));
    EXPECT_EQ(contents.error, "") << cut;
    EXPECT_EQ(contents.samples.size(), 1U) << cut;
    EXPECT_EQ(contents.cutLine, 3) << cut;
    EXPECT_NE(CutRowNote(contents).find("line 3"), std::string::npos);
  }
}

// A log followed while it grows, looked at after pieces cut anywhere (inside a row, inside
// the header, on a line end): the rows handed over add up to the log read whole, each row
// once, and every look reads only the bytes added since the one before. A bad row added
// later is refused, and stays refused.
TEST(CsvLogFollowerTest, HandsOverOnlyTheWholeRowsAddedSinceTheLastLook) {
  std::string text = CsvHeaderRow();
  for (int row = 0; row < 40; ++row) {
    const std::string seconds = std::to_string(row / 10) + "." + std::to_string(row % 10) + "00";
    text += "2026-12-08T15:04:05.123+01:00," + seconds + ",3.01,3.05,2.98,3.02,3.61,3.66," +
            "3.58,3.62,3.01,20,380,1380,1000,14000," + std::to_string(800 + row * 37) +
            ",500,200,20,0," + (row % 3 == 0 ? "12,Petrol" : "6,Gas") + "\r\n";
  }
  const CsvLogContents whole = ParseCsvLog(text);
  ASSERT_EQ(whole.error, "");
  ASSERT_EQ(whole.samples.size(), 40U);

  const testing::TempDir folder;
  const std::filesystem::path path = folder / "growing.csv";
  CsvLogFollower follower(path);
  std::vector<DecodedSample> followed;
  std::size_t written = 0;
  for (const std::size_t cut :
       {std::size_t{0}, std::size_t{25}, std::size_t{300}, std::size_t{301}, std::size_t{1234},
        std::size_t{2500}, text.size() - 1, text.size()}) {
    std::ofstream(path, std::ios::binary | std::ios::app) << text.substr(written, cut - written);
    written = cut;
    CsvLogContents added = follower.ReadAdded();
    ASSERT_EQ(added.error, "") << cut;
    EXPECT_EQ(follower.BytesRead(), cut);
    followed.insert(followed.end(), added.samples.begin(), added.samples.end());
    // A row is handed over once its line end is written, not before.
    const std::size_t wholeRows = static_cast<std::size_t>(
        std::count(text.begin(), text.begin() + static_cast<long>(cut), '\n'));
    EXPECT_EQ(followed.size(), wholeRows == 0 ? 0 : wholeRows - 1) << cut;
  }
  ASSERT_EQ(followed.size(), whole.samples.size());
  for (std::size_t i = 0; i < followed.size(); ++i) {
    EXPECT_EQ(followed[i].seconds, whole.samples[i].seconds) << i;
    EXPECT_EQ(followed[i].shown, whole.samples[i].shown) << i;
    EXPECT_EQ(followed[i].status, whole.samples[i].status) << i;
  }

  std::ofstream(path, std::ios::binary | std::ios::app) << "not,a,row\r\n";
  EXPECT_EQ(follower.ReadAdded().error, "line 42: it has 3 fields instead of 23");
  std::ofstream(path, std::ios::binary | std::ios::app) << text.substr(text.find('\n') + 1);
  const CsvLogContents after = follower.ReadAdded();
  EXPECT_EQ(after.error, "line 42: it has 3 fields instead of 23");
  EXPECT_TRUE(after.samples.empty());
}

struct MalformedCase {
  const char* what;
  std::string text;
  std::string error;
};

void PrintTo(const MalformedCase& malformed, std::ostream* out) {
  *out << malformed.what;
}

class MalformedLogTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedLogTest, IsRefusedNamingTheLine) {
  const CsvLogContents contents = ParseCsvLog(GetParam().text);
  EXPECT_EQ(contents.error, GetParam().error);
  EXPECT_TRUE(contents.samples.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedLogTest,
    ::testing::Values(
        MalformedCase{"empty", "",
                      "line 1: this is not a ZAV Monitor data log (the column "
                      "names differ)"},
        MalformedCase{"other header", "a,b,c\r\n1,2,3\r\n",
                      "line 1: this is not a ZAV Monitor data log (the column names differ)"},
        MalformedCase{"short row", Replace(SoundLog(), ",0,6,Gas", ",6,Gas"),
                      "line 3: it has 22 fields instead of 23"},
        MalformedCase{"time with a comma", Replace(SoundLog(), "3.61", "3,61"),
                      "line 3: it has 24 fields instead of 23"},
        MalformedCase{"bad time", Replace(SoundLog(), "3.62,3.01,20", "3.62,3.0,20"),
                      "line 3: \"3.0\" in column \"BA_V (ms)\" is not a time in ms with two "
                      "decimals"},
        MalformedCase{"register too big", Replace(SoundLog(), "800,500", "80000,500"),
                      "line 3: \"80000\" in column \"RPM\" is not a whole number from 0 to 65535"},
        MalformedCase{"status text", Replace(SoundLog(), "Gas", "Petrol"),
                      "line 3: the status text \"Petrol\" does not belong to status 6"},
        MalformedCase{"clock", Replace(SoundLog(), "15:04:05.273", "15:04:05"),
                      "line 3: the time \"2026-12-08T15:04:05\" is not of the form "
                      "2026-12-08T15:04:05.123+01:00"},
        MalformedCase{"stray quote", Replace(SoundLog(), "Gas", "G\"as"),
                      "line 3: a field's quotes are out of place"},
        MalformedCase{"text after a closing quote", Replace(SoundLog(), ",Gas", ",\"G\"as"),
                      "line 3: a field's quotes are out of place"},
        MalformedCase{"a lone carriage return", Replace(SoundLog(), ",Gas", ",G\ras"),
                      "line 3: the status text \"G\ras\" does not belong to status 6"}),
    [](const ::testing::TestParamInfo<MalformedCase>& param) {
      std::string name = param.param.what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

}  // namespace
}  // namespace zav
