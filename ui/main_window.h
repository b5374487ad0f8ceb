#pragma once
// The main window's procedure: start-up, the poll tick, command dispatch and closing.

#include "ui/program.h"

namespace zav {

inline constexpr int kPortList = 1001;
inline constexpr int kToolbar = 1002;
inline constexpr int kSwitchButton = 1067;
inline constexpr int kFirstMainCaption = 1029;
inline constexpr int kLastMainCaption = 1068;
inline constexpr int kFirstParameterCaption = 1069;
inline constexpr int kLastParameterCaption = 1084;
inline constexpr int kPortCount = 9;  // "COM1" to "COM9"

bool MainWindowProc(Program& program, Desktop& desktop, WindowRef window, const DialogEvent& event);

void InitMainWindow(Program& program, Desktop& desktop, WindowRef window);
void DispatchCommand(Program& program, Desktop& desktop, WindowRef window, int commandId, int code);
void CloseMainWindow(Program& program, Desktop& desktop, WindowRef window);

}  // namespace zav
