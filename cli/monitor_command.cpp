// zavctl monitor: the live samples as they come, one line each.

#include <chrono>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/live_fields.h"
#include "ui/live_display.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kHelp{
    "monitor [--for S]",
    "Prints a line for every sample of the live values (each answer to a live poll, about\n"
    "one every 150 ms): the time since the start in ms, each value as the window shows it,\n"
    "and the state text. A header line comes first.\n\n"
    "  --for S  stop after S seconds (exit code 0); without it, Ctrl-C stops (exit code 5)"};

std::string HeaderLine() {
  std::string line = "time_ms";
  for (const LiveField& field : kLiveFields) {
    line += " " + std::string(field.key);
  }
  return line + " status\n";
}

std::string SampleLine(long long elapsedMs, const LiveValueTable& live, std::uint16_t status) {
  std::string line = std::to_string(elapsedMs);
  for (const LiveField& field : kLiveFields) {
    line += " " + ShownValue(live, field);
  }
  return line + " " + std::string(StatusText(status)) + "\n";
}

}  // namespace

int RunMonitor(CliContext& cli, const QStringList& args) {
  QCommandLineParser parser;
  const QCommandLineOption forOption("for", "stop after S seconds", "S");
  parser.addOption(forOption);
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kHelp, 0, 0)) {
    return *code;
  }
  std::optional<long long> forMs;
  if (parser.isSet(forOption)) {
    bool valid = false;
    const double seconds = parser.value(forOption).toDouble(&valid);
    if (!valid || seconds <= 0) {
      Complain(cli, "monitor: --for " + Text(parser.value(forOption)) +
                        ": give a number of seconds above 0");
      return kExitUsage;
    }
    forMs = static_cast<long long>(seconds * 1000);
  }
  return WithController(cli, [&](Program& program) {
    const auto start = std::chrono::steady_clock::now();
    const auto elapsedMs = [start] {
      return std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now() - start)
          .count();
    };
    int samples = 0;
    Print(cli, HeaderLine());
    // The first answer may be the tail of one asked for before the port was opened.
    int statusFrames = 0;
    program.link.hooks.showStatusText = [&](std::uint16_t status) {
      if (++statusFrames == 1) {
        return;
      }
      ++samples;
      Print(cli, SampleLine(elapsedMs(), program.link.live, status));
    };
    WaitUntil(
        program, [&] { return forMs && elapsedMs() >= *forMs; }, [&] { return samples; });
    return kExitDone;
  });
}

}  // namespace zav::cli
