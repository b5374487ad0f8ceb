// zavctl status: one sample of the live values, decoded as the window shows them.

#include <QJsonObject>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "cli/live_fields.h"
#include "ui/live_display.h"

namespace zav::cli {

namespace {

constexpr int kSampleAnswer = 2;  // the answer to the first live poll of this run

constexpr CommandHelp kHelp{
    "status [--json]",
    "Waits for one sample of the live values (the replies to one live poll and the state\n"
    "that ends them) and prints each value as the window shows it, with its unit, and the\n"
    "state text.\n\n"
    "  --json  one object: each value under a lower-case key (\"rpm\", \"ba_1\", ...) as\n"
    "          {\"value\", \"unit\", \"caption\"}, times in ms as numbers, and\n"
    "          \"status\": {\"value\", \"text\"}"};

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

void PrintSample(const CliContext& cli, const LiveValueTable& live, std::uint16_t status,
                 bool json) {
  if (json) {
    QJsonObject object;
    for (const LiveField& field : kLiveFields) {
      const QJsonValue value = field.injectionTime ? QJsonValue(std::stod(ShownValue(live, field)))
                                                   : QJsonValue(RawValue(live, field));
      object.insert(FromView(field.key), QJsonObject{{"value", value},
                                                     {"unit", FromView(field.unit)},
                                                     {"caption", FromView(field.caption)}});
    }
    object.insert("status", QJsonObject{{"value", status}, {"text", FromView(StatusText(status))}});
    PrintJson(cli, object);
    return;
  }
  std::string text;
  for (const LiveField& field : kLiveFields) {
    std::string caption(field.caption);
    caption.resize(10, ' ');
    text += caption + ShownValue(live, field) + " " + std::string(field.unit) + "\n";
  }
  text += "Status    " + std::string(StatusText(status)) + " (" + std::to_string(status) + ")\n";
  Print(cli, text);
}

}  // namespace

int RunStatus(CliContext& cli, const QStringList& args) {
  QCommandLineParser parser;
  const QCommandLineOption jsonOption("json", "one JSON object");
  parser.addOption(jsonOption);
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kHelp, 0, 0)) {
    return *code;
  }
  const bool json = parser.isSet(jsonOption);
  return WithController(cli, [&](Program& program) {
    std::optional<std::uint16_t> status;
    LiveValueTable sample;
    int statusFrames = 0;
    // The state frame ends the controller's answer to a live poll: the live frames before
    // it have been stored by then. The first answer may be the tail of one asked for
    // before the port was opened, so the second is the sample.
    program.link.hooks.showStatusText = [&](std::uint16_t value) {
      if (++statusFrames == kSampleAnswer) {
        status = value;
        sample = program.link.live;
      }
    };
    if (!WaitUntil(program, [&] { return status.has_value(); })) {
      return kExitNoAnswer;
    }
    PrintSample(cli, sample, *status, json);
    return kExitDone;
  });
}

}  // namespace zav::cli
