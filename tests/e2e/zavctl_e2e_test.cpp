// zavctl end to end: each command as a fitter or a script runs it, against zavsim on a
// pseudo-terminal (clean, with damaged answers, with writes that do not take, silent), and
// against files, with the exit codes its help documents.

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <sstream>

#include "datalog/csv_log_reader.h"
#include "datalog/csv_log_writer.h"
#include "tests/e2e/zavctl_run.h"
#include "tests/qt/pseudo_terminal.h"
#include "tests/support/comma_locale.h"
#include "tests/support/file_size_limit.h"

namespace zav::test {
namespace {

using testing::ReadFile;
using testing::WriteFile;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A copy of a .car file with register `address` set to `value`.
std::string WithRegister(std::string car, std::uint8_t address, std::uint16_t value) {
  const std::size_t at = 2U * (address - kFirstImageRegister);
  car[at] = static_cast<char>(value & 0xFFU);
  car[at + 1] = static_cast<char>(value >> 8U);
  return car;
}

QJsonObject JsonOf(const std::string& text) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    lines.push_back(line);
  }
  return lines;
}

std::size_t FieldCount(const std::string& line) {
  std::istringstream stream(line);
  std::size_t count = 0;
  for (std::string field; stream >> field;) {
    ++count;
  }
  return count;
}

TEST_F(ZavctlTest, ReadWriteDiffReportsAndMonitorAgainstTheSimulator) {
  const std::string port = StartZavsim({"--errors", "8101"});
  ASSERT_FALSE(port.empty());

  // read -o saves registers 80 to 95 as the controller holds them.
  ZavctlRun run = OnPort(port, {"read", "-o", "a.car"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadFile(dir_ / "a.car"), FactoryCarFile());
  EXPECT_TRUE(Has(run.out, "81   Min. manifold pressure      500 mBar")) << run.out;
  EXPECT_TRUE(Has(run.out, "Name of config: (no library in zavmon.cfg)")) << run.out;

  // defaults -o writes what "Default values" then "Save" would: the simulator's factory set
  // is the defaults, register 95 zero.
  ASSERT_EQ(Zavctl({"defaults", "-o", "d.car"}).code, 0);
  EXPECT_EQ(ReadFile(dir_ / "d.car"), FactoryCarFile().substr(0, 30) + std::string(2, '\0'));

  // write --verify of a changed set: the handshake, the write, the read-back.
  WriteFile(dir_ / "b.car", WithRegister(WithRegister(FactoryCarFile(), 80, 45), 86, 3000));
  run = OnPort(port, {"write", "b.car", "--verify"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Verified")) << run.out;

  // diff: the controller now holds b.car; a.car differs in two registers.
  run = OnPort(port, {"diff", "b.car", "zav"});
  EXPECT_EQ(run.code, 0) << run.err;
  run = OnPort(port, {"diff", "a.car", "zav"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_TRUE(Has(run.out, "80   Temperature             40 -> 45 °C")) << run.out;
  EXPECT_TRUE(Has(run.out, "86   Preheat                 3300 -> 3000 us")) << run.out;
  EXPECT_TRUE(Has(run.out, "Register 95 is not compared.")) << run.out;

  // read --json: every register by number, and the library's name for the values.
  WriteFile(dir_ / "zavmon.cfg", "COM1");
  ASSERT_EQ(Zavctl({"library", "add", "Van", "b.car"}).code, 0);
  run = OnPort(port, {"read", "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  const QJsonObject registers = JsonOf(run.out);
  EXPECT_EQ(registers["80"].toObject()["value"].toInt(), 45);
  EXPECT_EQ(registers["80"].toObject()["caption"].toString(), "Temperature");
  EXPECT_EQ(registers["102"].toObject()["value"].toInt(), 0x8101);
  EXPECT_EQ(registers["config_name"].toString(), "Van");
  EXPECT_LT(run.out.find("\"80\""), run.out.find("\"81\""));
  EXPECT_LT(run.out.find("\"99\""), run.out.find("\"100\"")) << "numeric order: " << run.out;
  EXPECT_LT(run.out.find("\"102\""), run.out.find("\"config_name\""));

  // status --json: one sample with stable keys, the state as value and text.
  run = OnPort(port, {"status", "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  const QJsonObject status = JsonOf(run.out);
  EXPECT_EQ(status["rpm"].toObject()["unit"].toString(), "RPM");
  EXPECT_GT(status["rpm"].toObject()["value"].toInt(), 0);
  EXPECT_TRUE(status["ba_1"].toObject()["value"].isDouble());
  EXPECT_EQ(status["status"].toObject()["text"].toString(), "Petrol");
  EXPECT_EQ(status["status"].toObject()["value"].toInt(), 12);

  // errors reads only; --clear then clears; version as the report shows it.
  run = OnPort(port, {"errors"});
  EXPECT_EQ(run.out, "Short Circuit GAS1\nDisconnect gas 4\nPvap > 2400\n");
  EXPECT_EQ(OnPort(port, {"errors", "--json"}).out.find("Pvap") != std::string::npos, true);
  EXPECT_EQ(OnPort(port, {"errors", "--clear"}).code, 0);
  EXPECT_EQ(OnPort(port, {"errors"}).out, "No errors\n");
  run = OnPort(port, {"version"});
  EXPECT_EQ(run.out, "HW ver: 1.0.2.3\nFW ver: 04.12\nS/N: 060291-197719\n");
  EXPECT_EQ(JsonOf(OnPort(port, {"version", "--json"}).out)["firmware"].toString(), "04.12");

  // monitor: a header, then rows with as many fields as the header.
  run = OnPort(port, {"monitor", "--for", "1.5"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::vector<std::string> lines = LinesOf(run.out);
  ASSERT_GE(lines.size(), 3U) << run.out;
  for (const std::string& line : lines) {
    EXPECT_EQ(FieldCount(line), FieldCount(lines.front())) << line;
  }

  // monitor --csv: the window's data log, header first, every row as wide as the header.
  run = OnPort(port, {"monitor", "--for", "1.5", "--csv", "live.csv"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string csv = ReadFile(dir_ / "live.csv");
  ASSERT_TRUE(csv.starts_with(CsvHeaderRow())) << csv;
  const std::vector<std::string> rows = LinesOf(csv);
  ASSERT_GE(rows.size(), 3U) << csv;
  for (const std::string& row : rows) {
    EXPECT_EQ(std::count(row.begin(), row.end(), ','),
              std::count(rows.front().begin(), rows.front().end(), ','))
        << row;
  }
  EXPECT_TRUE(Has(rows.back(), ",12,Petrol")) << rows.back();

  // switch: the window's switch frame; the state the controller then reports.
  run = OnPort(port, {"switch"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_FALSE(run.out.empty());
  EXPECT_FALSE(Has(run.out, "Petrol (12)")) << "the state changed: " << run.out;
  EXPECT_FALSE(Has(OnPort(port, {"status"}).out, "Status    Petrol")) << "it stays switched";
}

// zavctl in the field, on a laptop with a decimal comma: a monitor that gets no sample
// leaves an earlier CSV as it was; one that does writes rows that read back, each from a
// whole answer; status --json keeps the times' decimals; read -o - gives the file on
// standard output; a port that cannot be opened is named with the system's reason.
TEST_F(ZavctlTest, InTheFieldUnderACommaLocaleNumbersFilesAndReasonsStayStraight) {
  testing::CommaLocale locale;
  ZAV_ENTER_COMMA_LOCALE(locale);
  const std::string earlier = "an earlier drive\r\n";
  WriteFile(dir_ / "live.csv", earlier);
  PseudoTerminal silent;  // no one answers on it
  ASSERT_TRUE(silent.IsValid());
  ZavctlRun run = OnPort(silent.SlavePath(), {"--timeout", "1", "monitor", "--csv", "live.csv"});
  EXPECT_EQ(run.code, 4) << run.err;
  EXPECT_EQ(ReadFile(dir_ / "live.csv"), earlier);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "live.csv.part"));

  const std::string port = StartZavsim({});
  ASSERT_FALSE(port.empty());
  run = OnPort(port, {"-q", "monitor", "--for", "2", "--csv", "live.csv"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const CsvLogContents log = ReadCsvLog(dir_ / "live.csv");
  ASSERT_EQ(log.error, "");
  ASSERT_GE(log.samples.size(), 5U);
  EXPECT_EQ(log.samples[0].seconds, 0.0);
  EXPECT_GT(log.samples.back().seconds, 1.0);
  for (const DecodedSample& sample : log.samples) {
    EXPECT_TRUE(sample.statusKnown) << "at " << sample.seconds << " s";
    // The petrol times, BA_V, the battery and the RPM are never 0 on a running engine.
    for (const std::size_t column : {0U, 1U, 2U, 3U, 8U, 13U, 14U}) {
      EXPECT_GT(sample.shown[column], 0.0f)
          << "column " << column << " at " << sample.seconds << " s";
    }
  }

  run = OnPort(port, {"status", "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  const QJsonObject status = JsonOf(run.out);
  bool fractions = false;
  for (const char* key : {"ba_1", "ba_2", "ba_3", "ba_4", "ba_v"}) {
    const double ms = status[key].toObject()["value"].toDouble();
    EXPECT_GT(ms, 1.0) << key;
    fractions = fractions || ms != static_cast<double>(static_cast<int>(ms));
  }
  EXPECT_TRUE(fractions) << run.out;

  run = OnPort(port, {"read", "-o", "-"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, FactoryCarFile());
  EXPECT_TRUE(Has(run.err, "Min. manifold pressure")) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "-"));

  run = Zavctl({"--port", "/nonexistent/tty", "status"});
  EXPECT_EQ(run.code, 3);
  EXPECT_TRUE(Has(run.err, "cannot open the serial device /nonexistent/tty: ")) << run.err;
  EXPECT_TRUE(Has(run.err, "No such file or directory") || Has(run.err, "not found")) << run.err;
}

// An adapter pulled out while monitor runs is reopened as the window does: the state
// changes on standard error, the rows go on after it, and the run ends when asked.
// monitor --csv on a disk that fills up half-way (a file size limit stands in): the earlier
// log stays as it was, the rows written are kept in the .part, the exit code is 3 and the
// message names both. A log that completes replaces the file as every save does: through a
// symbolic link, which stays, and with the replaced file's mode.
TEST_F(ZavctlTest, MonitorCsvReplacesTheLogOnlyWhenWholeAndAsEverySaveDoes) {
  const std::string port = StartZavsim({});
  ASSERT_FALSE(port.empty());
  std::string earlier;
  while (earlier.size() < 67 * 1024) {
    earlier += "an earlier drive, row " + std::to_string(earlier.size()) + "\r\n";
  }
  WriteFile(dir_ / "live.csv", earlier);
  ZavctlRun cut;
  {
    const testing::FileSizeLimit limit(1500);  // bytes: the header and a few rows
    if (!limit.Held()) {
      GTEST_SKIP() << "no file size limit on this system";
    }
    cut = OnPort(port, {"-q", "monitor", "--for", "5", "--csv", "live.csv"});
  }
  EXPECT_EQ(cut.code, 3) << cut.err;
  const std::string after = ReadFile(dir_ / "live.csv");
  EXPECT_TRUE(after == earlier) << "the earlier log of " << earlier.size()
                                << " bytes is untouched, not " << after.size() << " bytes";
  const std::filesystem::path part = dir_ / "live.csv.part";
  ASSERT_TRUE(std::filesystem::exists(part));
  EXPECT_LE(std::filesystem::file_size(part), 1500U);
  EXPECT_TRUE(ReadFile(part).starts_with(CsvHeaderRow()));
  EXPECT_TRUE(Has(cut.err, "live.csv.part")) << cut.err;
  EXPECT_TRUE(Has(cut.err, "live.csv is left as it was")) << cut.err;

  std::filesystem::remove(part);
  std::filesystem::create_directory(dir_ / "drives");
  const std::filesystem::path real = dir_ / "drives" / "tuesday.csv";
  WriteFile(real, earlier);
  std::filesystem::permissions(real, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  std::filesystem::remove(dir_ / "live.csv");
  std::filesystem::create_symlink("drives/tuesday.csv", dir_ / "live.csv");
  const ZavctlRun whole = OnPort(port, {"-q", "monitor", "--for", "1.5", "--csv", "live.csv"});
  ASSERT_EQ(whole.code, 0) << whole.err;
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "live.csv")) << "the link stays";
  EXPECT_TRUE(ReadFile(real).starts_with(CsvHeaderRow()));
  EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::mask,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "drives" / "tuesday.csv.part"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "live.csv.part"));
}

TEST_F(ZavctlTest, MonitorWaitsForAPulledAdapterAndGoesOnWhenItIsBack) {
  const std::string link = (dir_ / "zav-line").string();
  const std::string port =
      StartZavsim({"--link", link, "--unplug-after", "2", "--unplug-for", "3"});
  ASSERT_FALSE(port.empty());
  const ZavctlRun run = OnPort(link, {"monitor", "--for", "9"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "adapter removed, reconnecting")) << run.err;
  EXPECT_TRUE(Has(run.err, "controller answering")) << run.err;
  const std::vector<std::string> lines = LinesOf(run.out);
  ASSERT_GE(lines.size(), 3U) << run.out;
  EXPECT_GT(std::stod(lines.back().substr(0, lines.back().find(' '))), 6.0) << run.out;
}

TEST_F(ZavctlTest, ReadThroughDroppedAndDamagedAnswersEndsWithTheSimulatorsValues) {
  const std::string port = StartZavsim({"--seed", "5", "--drop", "0.03", "--corrupt", "0.03"});
  ASSERT_FALSE(port.empty());
  const ZavctlRun run = OnPort(port, {"read", "-o", "faulty.car"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadFile(dir_ / "faulty.car"), FactoryCarFile());
}

TEST_F(ZavctlTest, WriteVerifyListsTheRegistersThatDidNotTakeAndExitsOne) {
  const std::string port = StartZavsim({"--ignore-writes"});
  ASSERT_FALSE(port.empty());
  WriteFile(dir_ / "b.car", WithRegister(WithRegister(FactoryCarFile(), 81, 520), 91, 2100));
  const ZavctlRun run = OnPort(port, {"write", "b.car", "--verify"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_TRUE(Has(run.out, "2 of 13 registers did not take")) << run.out;
  EXPECT_TRUE(Has(run.out, "81   Min. manifold pressure  500 (written 520) mBar")) << run.out;
  EXPECT_TRUE(Has(run.out, "91   Min. gas time           2000 (written 2100) us")) << run.out;
}

TEST_F(ZavctlTest, EveryCommandOnASilentLineEndsWithFourAfterTheTimeout) {
  PseudoTerminal line;  // no one answers on it
  ASSERT_TRUE(line.IsValid());
  WriteFile(dir_ / "b.car", FactoryCarFile());
  WriteFile(dir_ / "fw.zav", std::string(1000, '\x5A'));
  const std::vector<std::vector<std::string>> commands{
      {"status"}, {"monitor"}, {"read"},           {"write", "b.car"}, {"diff", "b.car", "zav"},
      {"errors"}, {"version"}, {"flash", "fw.zav"}};
  for (const std::vector<std::string>& command : commands) {
    std::vector<std::string> arguments{"--timeout", "1"};
    arguments.insert(arguments.end(), command.begin(), command.end());
    const ZavctlRun run = OnPort(line.SlavePath(), arguments);
    EXPECT_EQ(run.code, 4) << command.front() << ": " << run.err;
    EXPECT_TRUE(
        Has(run.err, "no answer from the controller on " + line.SlavePath() + " within 1 s"))
        << run.err;
  }
}

TEST_F(ZavctlTest, FlashOnGasWithoutYesFromAScriptExitsTwoWithTheQuestionAndSendsNothing) {
  const std::string port = StartZavsim({"--firmware-out", (dir_ / "kept.zav").string()});
  ASSERT_FALSE(port.empty());
  ASSERT_TRUE(SwitchZavsimToGas(port));
  WriteFile(dir_ / "fw.bin", std::string(30000, '\x5A'));
  const ZavctlRun run = OnPort(port, {"flash", "fw.bin"});  // standard input is not a terminal
  EXPECT_EQ(run.code, 2) << run.err;
  EXPECT_TRUE(Has(run.err, "The controller runs on gas. Switch to petrol before the upgrade?"))
      << run.err;
  EXPECT_TRUE(Has(run.err, "--yes")) << run.err;
  EXPECT_TRUE(Has(OnPort(port, {"status"}).out, "Status    Gas")) << "no switch was sent";
  EXPECT_FALSE(std::filesystem::exists(dir_ / "kept.zav"));
}

struct UsageCase {
  std::vector<std::string> arguments;
  int code;
  std::string says;  // part of the message on standard error
};

TEST_F(ZavctlTest, UsageErrorsAndBadFilesSayWhatIsWrongGiveTheirCodeAndWriteNothing) {
  WriteFile(dir_ / "short.car", std::string(29, '\0'));
  WriteFile(dir_ / "empty.zav", "");
  WriteFile(dir_ / "long.zav", std::string(30721, '\x01'));
  const std::string longName(64, 'x');
  const std::vector<UsageCase> cases{
      {{}, 2, "no command given"},
      {{"frobnicate"}, 2, "zavctl: unknown command 'frobnicate'"},
      {{"raed"}, 2, "zavctl: unknown command 'raed'; did you mean 'read'?"},
      {{"help", "wirte"}, 2, "did you mean 'write'?"},
      {{"--colour", "read"}, 2, "zavctl: unknown option '--colour'"},
      {{"--timeout", "0", "read"}, 2, "--timeout 0"},
      {{"--port"}, 2, "--port needs a value"},
      {{"read", "--bogus"}, 2, "zavctl: unknown option '--bogus'; see zavctl read --help"},
      {{"status", "-x"}, 2, "zavctl: unknown option '-x'"},
      {{"read", "extra"}, 2, "read: expected read"},
      {{"write"}, 2, "write: expected write FILE.car"},
      {{"defaults"}, 2, "-o FILE.car is needed"},
      {{"diff", "a.car"}, 2, "diff: expected diff A B"},
      {{"monitor", "--for", "soon"}, 2, "--for soon"},
      {{"library", "rename", "a"}, 2, "library: expected"},
      {{"library", "add", longName, "short.car"}, 2, "1 to 63 bytes"},
      {{"write", "missing.car"}, 3, "Cannot open missing.car"},
      {{"write", "short.car"}, 3, "short.car holds 29 bytes"},
      {{"diff", "short.car", "zav"}, 3, "short.car holds 29 bytes"},
      {{"diff", "missing.car", "lib:Van"}, 3, "missing.car"},
      {{"flash", "empty.zav"}, 3, "empty"},
      // A long image is no longer refused here: only its start is sent, after a question.
      {{"flash", "long.zav"}, 3, "holds no port name"},
      {{"read", "-o", "nofolder/a.car"}, 3, "does not exist"},
      {{"--port", "/nonexistent/tty", "status"}, 3, "cannot open the serial device"},
      {{"status"}, 3, "holds no port name"},
      {{"library", "list"}, 3, "zavmon.cfg is missing"},
  };
  const auto before = FolderContents();
  for (const UsageCase& usage : cases) {
    const ZavctlRun run = Zavctl(usage.arguments);
    const std::string shown = usage.arguments.empty() ? "(none)" : usage.arguments.front();
    EXPECT_EQ(run.code, usage.code) << shown << ": " << run.err;
    EXPECT_TRUE(Has(run.err, usage.says)) << shown << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << shown << ": " << run.out;
  }
  EXPECT_EQ(FolderContents(), before);
}

TEST_F(ZavctlTest, HelpListsEveryCommandAndTheExitCodes) {
  const ZavctlRun run = Zavctl({"--help"});
  EXPECT_EQ(run.code, 0);
  for (const char* part :
       {"status", "monitor", "read", "write", "defaults", "diff", "errors", "version", "flash",
        "library", "switch", "4  no answer within --timeout"}) {
    EXPECT_TRUE(Has(run.out, part)) << part;
  }
  EXPECT_TRUE(Has(Zavctl({"write", "--help"}).out, "--verify"));
  EXPECT_EQ(Zavctl({"help", "write"}).out, Zavctl({"write", "--help"}).out);
  EXPECT_EQ(Zavctl({"help"}).out, run.out);
  EXPECT_TRUE(Has(Zavctl({"--version"}).out, "zavctl "));
}

}  // namespace
}  // namespace zav::test
