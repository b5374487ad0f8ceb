#pragma once
// Commands added around the main window (menu items beyond the template's menu, a click on
// the status line): each feature registers its items and handlers at start-up, and the main
// window's dispatch hands every id from kFirstExtraCommand on to RunExtraCommand.
//
// Id ranges: kStatusLineClicked 20000; connection 20001-20099; data log 20100-20199;
// upgrade checks 20200-20299.

#include <functional>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace zav {

struct Program;

inline constexpr int kFirstExtraCommand = kStatusLineClicked;

struct ExtraCommand {
  int id = 0;
  std::function<void()> run;
};

using ExtraCommands = std::vector<ExtraCommand>;

// Adds an item to the window's menu `menuTitle` (a new menu when there is none of that
// title) and the handler that runs when it is chosen.
void AddExtraCommand(Program& program, WindowRef window, std::string_view menuTitle, int id,
                     std::string_view text, std::function<void()> run);
// A handler for a command that has no menu item of its own (kStatusLineClicked).
void AddExtraHandler(Program& program, int id, std::function<void()> run);

// Runs the handler registered for `id`; an id without one does nothing.
void RunExtraCommand(Program& program, int id);

}  // namespace zav
