#pragma once
// The menu and toolbar commands of the main window, and the parts of start-up and close
// that belong to the configuration library.

#include "ui/program.h"

namespace zav {

inline constexpr const char* kReadQuestion = "Read from ZAV?";

// Runs the command of a menu item or toolbar button; unknown ids (Enter, Escape) do nothing.
void RunMenuCommand(Program& program, int commandId);

// "Read from ZAV": asks, then reads registers 80 to 102.
void ReadFromZav(Link& link);
// "Set ZAV": asks, then lets the poll cycle write registers 80 to 92.
void SetZav(Link& link, const ParameterState& state);

void LoadLibrary(Program& program);
void ReleaseLibrary(Program& program);

}  // namespace zav
