#include "ui/extra_commands.h"

#include <algorithm>

#include "ui/program.h"

namespace zav {

void AddExtraCommand(Program& program, WindowRef window, std::string_view menuTitle, int id,
                     std::string_view text, std::function<void()> run) {
  program.link.desktop->AddMenuItem(window, menuTitle, id, text);
  AddExtraHandler(program, id, std::move(run));
}

void AddExtraHandler(Program& program, int id, std::function<void()> run) {
  program.extraCommands.push_back(ExtraCommand{id, std::move(run)});
}

void RunExtraCommand(Program& program, int id) {
  const auto& commands = program.extraCommands;
  const auto found = std::find_if(commands.begin(), commands.end(),
                                  [id](const ExtraCommand& command) { return command.id == id; });
  if (found != commands.end() && found->run) {
    // A copy: the handler may register further commands while it runs.
    const std::function<void()> run = found->run;
    run();
  }
}

}  // namespace zav
