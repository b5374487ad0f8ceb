// zavctl monitor: the live samples as they come, as text lines or as the window's data log
// CSV (the same writer), from the same live-sample hook of the poll tick.

#include <charconv>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/live_fields.h"
#include "cli/output_file.h"
#include "datalog/csv_log_writer.h"
#include "link/connection.h"
#include "platform/files/file_replace.h"
#include "platform/files/path_text.h"
#include "texts/live_text.h"
#include "ui/connection_status.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kMonitorHelp{
    "monitor [--csv FILE|-] [--for S]",
    "Prints a line for every sample of the live values (each poll tick that brought live\n"
    "replies, about one every 150 ms): the seconds since the start, each value as the window\n"
    "shows it, and the state text, after a header line.\n\n"
    "  --csv FILE|-  write the samples as the window's data log does (the same columns and\n"
    "                format; - for standard output) instead of the text lines. An existing\n"
    "                FILE is replaced only at the end, once there are samples\n"
    "  --for S       stop after S seconds (exit code 0); without it, Ctrl-C stops (exit\n"
    "                code 5, the samples so far kept)\n\n"
    "The first sample is the first whole answer to a live poll of this run. A pulled-out\n"
    "adapter is reopened about once a second until it is back, as the window does; each\n"
    "change of the line's state is told on standard error."};

// The status frame ends each answer to a live poll. The first answer may be the tail of one
// asked for before the port was opened: samples count from the second.
constexpr int kFirstWholeAnswer = 2;

std::string HeaderLine() {
  std::string line = "seconds";
  for (const ShownColumn& column : kShownColumnTable) {
    line += " " + KeyOf(column);
  }
  return line + " status\n";
}

std::string SampleLine(const LiveSample& sample, std::int64_t startSteadyMs) {
  const std::int64_t ms = sample.steadyMs - startSteadyMs;
  std::string line = std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100);
  for (const ShownColumn& column : kShownColumnTable) {
    line += " " + ShownText(column, sample);
  }
  // "Low RPM" and "Not connect" hold a blank: the state goes last, whole.
  return line + " " + (sample.statusKnown ? std::string(StatusText(sample.status)) : "-") + "\n";
}

// A number of seconds such as "5", "0.5" or "2e1", blanks around it and a sign allowed;
// read in no locale, so "0,5" is refused everywhere.
std::optional<double> Seconds(std::string_view text) {
  text = NumberText(text);
  double seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  const bool valid = !text.empty() && error == std::errc() && end == text.data() + text.size();
  return valid && seconds > 0 ? std::optional(seconds) : std::nullopt;
}

// Where the samples go while they come: beside the file that is replaced at the end (the
// one a symbolic link leads to), so that the replace is a rename on one file system.
std::filesystem::path PartPath(const std::string& target) {
  std::filesystem::path part = ReplacedFileOf(PathFromUtf8(target));
  part += ".part";
  return part;
}

// Opens the CSV log the options ask for; false after the reason was reported.
bool OpenLog(const CliContext& cli, CsvLogWriter& writer, const std::string& target) {
  const bool opened = target == "-" ? AttachCsvLog(writer, cli.out, "standard output")
                                    : OpenCsvLog(writer, PartPath(target));
  if (!opened) {
    Complain(cli, writer.error);
  }
  return opened;
}

// Closes the log. A whole file with samples takes the place of the target as every save
// does; one without any is dropped. A log cut short by a write error never replaces the
// target: the target stays as it was and the rows written are kept in the .part, and the
// message names both. False after the reason was reported.
bool EndLog(const CliContext& cli, CsvLogWriter& writer, const std::string& target) {
  const bool closed = !IsCsvLogOpen(writer) || CloseCsvLog(writer);
  const bool whole = writer.error.empty() && closed;
  if (target == "-" || writer.path.empty()) {
    if (!whole) {
      Complain(cli, writer.error);
    }
    return whole;
  }
  const std::string part = Utf8FromPath(writer.path);
  if (!whole) {
    Complain(cli,
             writer.error + "; " + target + " is left as it was, the rows written are in " + part);
    return false;
  }
  if (writer.rows == 0) {
    std::error_code ignored;
    std::filesystem::remove(writer.path, ignored);
    return true;
  }
  if (const std::optional<std::string> failed =
          ReplaceFileWith(PathFromUtf8(target), writer.path)) {
    Complain(cli, "cannot replace " + target + ": " + *failed + "; " + target +
                      " is left as it was, the samples are in " + part);
    return false;
  }
  return true;
}

// The line's state as the window's status line words it, on standard error when it changes
// once the controller has answered (the start itself is not news).
void FollowLine(const CliContext& cli, Link& link, bool& answeredBefore) {
  const LinkState before = link.connection.state;
  WatchConnection(link);
  const LinkState now = link.connection.state;
  if (now != before && answeredBefore) {
    Complain(cli, ConnectionStatusText(link.connection));
  }
  answeredBefore = answeredBefore || now == LinkState::Answering;
}

}  // namespace

int RunMonitor(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int forOption = parser.Add({.names = {"for"}, .takesValue = true});
  const int csvOption = parser.Add({.names = {"csv"}, .takesValue = true});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kMonitorHelp, 0, 0)) {
    return *code;
  }
  const std::optional<double> forSeconds =
      parser.IsSet(forOption) ? Seconds(parser.Value(forOption)) : std::nullopt;
  if (parser.IsSet(forOption) && !forSeconds) {
    Complain(cli,
             "monitor: --for " + parser.Value(forOption) + ": give a number of seconds above 0");
    return kExitUsage;
  }
  const std::string csv = parser.Value(csvOption);
  if (parser.IsSet(csvOption) && csv != "-") {
    if (const std::optional<std::string> problem = OutputPathProblem(PathFromUtf8(csv))) {
      Complain(cli, *problem);
      return kExitPortOrFile;
    }
  }
  return WithController(cli, [&](Program& program) {
    CsvLogWriter writer;
    if (parser.IsSet(csvOption) && !OpenLog(cli, writer, csv)) {
      return kExitPortOrFile;
    }
    if (!parser.IsSet(csvOption)) {
      Print(cli, HeaderLine());
    }
    LiveSampleSource source{SystemSampleClock()};
    const std::int64_t startMs = source.clock.steadyMs();
    int samples = 0;
    int answers = 0;
    int ticksWithoutDevice = 0;  // progress while the adapter is away: it is waited for
    bool answeredBefore = false;
    program.link.hooks.showConfigName = [&] {
      FollowLine(cli, program.link, answeredBefore);
      if (program.link.connection.state == LinkState::Removed) {
        ++ticksWithoutDevice;
      }
    };
    program.link.hooks.liveSample.push_back([&](const LiveReplies& replies) {
      answers += replies.statusArrived ? 1 : 0;
      if (answers < kFirstWholeAnswer) {
        return;
      }
      const LiveSample sample = TakeLiveSample(source, replies);
      ++samples;
      if (IsCsvLogOpen(writer)) {
        WriteCsvRow(writer, sample);
      } else if (!parser.IsSet(csvOption)) {
        Print(cli, SampleLine(sample, startMs));
      }
    });
    WaitUntil(
        program,
        [&] {
          return !writer.error.empty() ||
                 (forSeconds && source.clock.steadyMs() - startMs >= *forSeconds * 1000);
        },
        [&] { return samples + ticksWithoutDevice; });
    if (!EndLog(cli, writer, csv)) {
      return kExitPortOrFile;
    }
    return kExitDone;
  });
}

}  // namespace zav::cli
