#pragma once
// The main window's menu "Log": start and stop a recording of the live samples, the live
// chart, petrol against gas, and a log read back. Its status segment shows the recording.
// Every item has its own mnemonic, so the keyboard reaches the right one whichever of
// "Start recording…" and "Stop recording" is enabled.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/desktop.h"

namespace zav {

struct Program;

// Command ids of the data log: 20100 to 20199.
inline constexpr int kStartRecording = 20100;
inline constexpr int kStopRecording = 20101;
inline constexpr int kShowLiveChart = 20102;
inline constexpr int kShowPetrolAgainstGas = 20103;
inline constexpr int kOpenLog = 20104;
inline constexpr int kCalibrate = 20105;

inline constexpr const char* kLogMenu = "Log";
inline constexpr const char* kRecordingKey = "Ctrl+L";  // starts and stops a recording

// Every live sample goes to the session store and, while recording, to the log.
void BindDataLog(Program& program);

// The menu "Log" and its handlers; called when the main window starts.
void AddDataLogCommands(Program& program, WindowRef window);

// Starts a recording to `path`, its folder made if need be, and shows it in the menu and
// the status line; a message for the user when it could not start.
std::optional<std::string> StartRecordingTo(Program& program, WindowRef window,
                                            const std::filesystem::path& path);

// Ends the recording and shows it; a message when the end went wrong.
std::optional<std::string> StopRecordingNow(Program& program, WindowRef window);

// `logs/zavmon-YYYYMMDD-HHMMSS.csv` beside the settings file, for a recording starting now.
std::filesystem::path ProposedLogPath(const Program& program);

// A log chosen in the open dialog; nothing when cancelled.
std::optional<std::filesystem::path> ChooseLogToOpen(Program& program, WindowRef window);

// After a tick: tells the user once when a write error stopped the recording.
void ReportRecordingFailure(Program& program, WindowRef window);

// Ends a recording when the main window closes, so the file is synced and closed; a
// failure is told in a box owned by the closing window.
void EndDataLog(Program& program, WindowRef window);

}  // namespace zav
