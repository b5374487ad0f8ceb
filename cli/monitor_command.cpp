// zavctl monitor: the live samples as they come, as text lines or as the window's data log
// CSV (the same writer), from the same live-sample hook of the poll tick.

#include <chrono>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/live_fields.h"
#include "cli/output_file.h"
#include "datalog/csv_log_writer.h"
#include "texts/live_text.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kHelp{
    "monitor [--csv FILE|-] [--for S]",
    "Prints a line for every sample of the live values (each poll tick that brought live\n"
    "replies, about one every 150 ms): the seconds since the start, each value as the window\n"
    "shows it, and the state text, after a header line.\n\n"
    "  --csv FILE|-  write the samples as the window's data log does (the same columns and\n"
    "                format; - for standard output) instead of the text lines\n"
    "  --for S       stop after S seconds (exit code 0); without it, Ctrl-C stops (exit\n"
    "                code 5, the samples so far kept)"};

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

std::optional<double> Seconds(const QString& text) {
  bool valid = false;
  const double seconds = text.toDouble(&valid);
  return valid && seconds > 0 ? std::optional(seconds) : std::nullopt;
}

// Opens the CSV log the options ask for; false after the reason was reported.
bool OpenLog(const CliContext& cli, CsvLogWriter& writer, const std::string& target) {
  const bool opened =
      target == "-" ? AttachCsvLog(writer, cli.out, "standard output") : OpenCsvLog(writer, target);
  if (!opened) {
    Complain(cli, writer.error);
  }
  return opened;
}

}  // namespace

int RunMonitor(CliContext& cli, const QStringList& args) {
  QCommandLineParser parser;
  const QCommandLineOption forOption("for", "stop after S seconds", "S");
  const QCommandLineOption csvOption("csv", "write CSV", "FILE");
  parser.addOptions({forOption, csvOption});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kHelp, 0, 0)) {
    return *code;
  }
  const std::optional<double> forSeconds =
      parser.isSet(forOption) ? Seconds(parser.value(forOption)) : std::nullopt;
  if (parser.isSet(forOption) && !forSeconds) {
    Complain(cli, "monitor: --for " + Text(parser.value(forOption)) +
                      ": give a number of seconds above 0");
    return kExitUsage;
  }
  const std::string csv = Text(parser.value(csvOption));
  if (parser.isSet(csvOption) && csv != "-") {
    if (const std::optional<std::string> problem = OutputPathProblem(csv)) {
      Complain(cli, *problem);
      return kExitPortOrFile;
    }
  }
  return WithController(cli, [&](Program& program) {
    CsvLogWriter writer;
    if (parser.isSet(csvOption) && !OpenLog(cli, writer, csv)) {
      return kExitPortOrFile;
    }
    if (!parser.isSet(csvOption)) {
      Print(cli, HeaderLine());
    }
    LiveSampleSource source{SystemSampleClock()};
    const std::int64_t startMs = source.clock.steadyMs();
    int samples = 0;
    program.link.hooks.liveSample.push_back([&](const LiveReplies& replies) {
      const LiveSample sample = TakeLiveSample(source, replies);
      ++samples;
      if (IsCsvLogOpen(writer)) {
        WriteCsvRow(writer, sample);
      } else if (!parser.isSet(csvOption)) {
        Print(cli, SampleLine(sample, startMs));
      }
    });
    WaitUntil(
        program,
        [&] {
          return !writer.error.empty() ||
                 (forSeconds && source.clock.steadyMs() - startMs >= *forSeconds * 1000);
        },
        [&] { return samples; });
    const bool closed = !IsCsvLogOpen(writer) || CloseCsvLog(writer);
    if (!writer.error.empty() || !closed) {
      Complain(cli, writer.error);
      return kExitPortOrFile;
    }
    return kExitDone;
  });
}

}  // namespace zav::cli
