#pragma once
// The program object: everything the running program holds, one struct per part, created
// afresh for each run (and each test).

#include <filesystem>
#include <functional>

#include "calibration/calibration_host.h"
#include "datalog/data_log.h"
#include "link/link_state.h"
#include "params/config_library.h"
#include "params/parameter_state.h"
#include "platform/serial_survey.h"
#include "ui/extra_commands.h"
#include "ui/status_line.h"
#include "upgrade/status_watch.h"
#include "upgrade/upload_state.h"

namespace zav {

struct Program {
  Link link;
  ConfigLibrary library;
  ParameterState parameters;  // the set the controller confirmed, and where the image's came from
  UploadState upload;
  ExtraCommands extraCommands;  // menu items and clicks added around the main window
  StatusLine statusLine;
  DataLog dataLog;                       // live samples, the recording and the chart windows
  StatusWatch statusWatch;               // the last status frame, for the checks before an upgrade
  const SerialSurvey* survey = nullptr;  // the system's serial devices, for the help; may be none
  CalibrationHost* calibration = nullptr;  // the Calibrate window's host; none without windows
  // A configuration file the program was started with (a .car opened from the file
  // manager): opened as "Open" opens a file, on the first tick, once the window is up.
  std::filesystem::path fileToOpen;
};

// Connects the program to its desktop and serial device, with the settings file in
// `workingFolder`, and binds the poll tick to the display, name lookup and upload.
void SetUpProgram(Program& program, Desktop& desktop, SerialDevice& device,
                  const std::filesystem::path& workingFolder);

// Runs the main window until it is closed; returns the program's exit code.
int RunMainWindow(Program& program);

}  // namespace zav
