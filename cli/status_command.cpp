// zavctl status: one sample of the live values, decoded as the window shows them.

#include <charconv>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "cli/live_fields.h"
#include "texts/live_text.h"

namespace zav::cli {

namespace {

constexpr int kSampleAnswer = 2;  // the answer to the first live poll of this run

constexpr CommandHelp kStatusHelp{
    "status [--json]",
    "Waits for one sample of the live values (the replies to one live poll and the state\n"
    "that ends them) and prints each value as the window shows it, with its unit, and the\n"
    "state text.\n\n"
    "  --json  one object: each value under a lower-case key (\"rpm\", \"ba_1\", ...) as\n"
    "          {\"value\", \"unit\", \"caption\"}, times in ms as numbers, and\n"
    "          \"status\": {\"value\", \"text\"}"};

// A time as the window shows it ("3.45"), read with a point whatever the user's locale.
double NumberOf(const std::string& text) {
  double number = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

void PrintSample(const CliContext& cli, const LiveSample& sample, bool json) {
  if (json) {
    Json object = Json::object();
    for (const ShownColumn& column : kShownColumnTable) {
      // Times as the window shows them, to the 0.01 ms; the rest as whole numbers.
      const Json value = column.form == ShownForm::Milliseconds
                             ? Json(NumberOf(ShownText(column, sample)))
                             : Json(sample.values[static_cast<std::size_t>(column.row)]);
      object[KeyOf(column)] = {{"value", value},
                               {"unit", std::string(column.unit)},
                               {"caption", std::string(column.caption)}};
    }
    object["status"] = {{"value", sample.status}, {"text", std::string(StatusText(sample.status))}};
    PrintJson(cli, object);
    return;
  }
  std::string text;
  for (const ShownColumn& column : kShownColumnTable) {
    std::string caption(column.caption);
    caption.resize(10, ' ');
    text += caption + ShownText(column, sample) + " " + std::string(column.unit) + "\n";
  }
  text += "Status    " + std::string(StatusText(sample.status)) + " (" +
          std::to_string(sample.status) + ")\n";
  Print(cli, text);
}

}  // namespace

int RunStatus(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int jsonOption = parser.Add({.names = {"json"}});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kStatusHelp, 0, 0)) {
    return *code;
  }
  const bool json = parser.IsSet(jsonOption);
  return WithController(cli, [&](Program& program) {
    std::optional<LiveSample> sample;
    int statusFrames = 0;
    // The state frame ends the controller's answer to a live poll: the live frames before
    // it have been stored by then. The first answer may be the tail of one asked for
    // before the port was opened, so the second is the sample.
    program.link.hooks.showStatusText = [&](std::uint16_t value) {
      if (++statusFrames == kSampleAnswer) {
        sample = SampleOf(program.link.live, value);
      }
    };
    if (!WaitUntil(program, [&] { return sample.has_value(); })) {
      return kExitNoAnswer;
    }
    PrintSample(cli, *sample, json);
    return kExitDone;
  });
}

}  // namespace zav::cli
