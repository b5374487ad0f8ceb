#include "ui/connection_commands.h"

#include <functional>

#include "ui/connection_help.h"
#include "ui/connection_status.h"

namespace zav {

namespace {

// Without a survey of the system the help still explains the rule and the fault.
class EmptySurvey final : public SerialSurvey {
 public:
  std::vector<SerialDeviceInfo> Devices() const override { return {}; }
  std::string GroupOf(const std::string& /*path*/) const override { return {}; }
  std::optional<DeviceLock> LockOf(const std::string& /*path*/) const override {
    return std::nullopt;
  }
  std::string Environment(const std::string& /*variable*/) const override { return {}; }
  bool Exists(const std::string& /*path*/) const override { return false; }
};

}  // namespace

void InitConnectionExtras(Program& program, WindowRef window) {
  AddExtraCommand(program, window, "Info", kConnectionHelpCommand, kConnectionHelpItem,
                  [&program] { ShowConnectionHelp(program); });
  program.link.desktop->SetMenuItemKey(window, kConnectionHelpCommand, "F1");
  AddExtraHandler(program, kStatusLineClicked, [&program] { ShowConnectionHelp(program); });
  program.statusLine.connection = ConnectionStatusText(program.link.connection);
}

// The counters move with every tick; showing them about once a second is enough to read
// and spares the window a relayout of the line on every tick. A new state shows at once,
// and a port got by a retry with the wall-clock time it was got.
void FollowConnection(Program& program) {
  Connection& connection = program.link.connection;
  const LinkState stateBefore = connection.state;
  const std::uint32_t uploadSilenceBefore = connection.uploadSilentSeconds;
  const bool regainedBefore = connection.regained;
  WatchConnection(program.link);
  const std::function<std::int64_t()>& wallClock = program.dataLog.source.clock.unixMs;
  if (connection.regained && !regainedBefore && wallClock) {
    connection.regainedAtUnixMs = wallClock();
  }
  const bool changed =
      connection.state != stateBefore || connection.uploadSilentSeconds != uploadSilenceBefore;
  if (changed || connection.ticks % kCounterRefreshTicks == 0) {
    program.statusLine.connection = ConnectionStatusText(connection);
  }
}

void ShowConnectionHelp(Program& program) {
  const EmptySurvey none;
  const SerialSurvey& survey = program.survey != nullptr ? *program.survey : none;
  Link& link = program.link;
  link.desktop->ShowMessage(link.mainWindow, ConnectionHelpText(link.connection, survey),
                            kConnectionHelpCaption, MessageButtons::Ok, MessageIcon::Information);
}

}  // namespace zav
