#pragma once
// A recording of the live samples to a CSV file, with the controller's parameter registers
// beside it in a .car file named after the log (the format File → Open reads), so a log's
// scatter view can draw the factors' line of its own drive.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "datalog/csv_log_writer.h"
#include "link/link_state.h"
#include "params/controller_set.h"
#include "params/parameter_set.h"

namespace zav {

struct Recorder {
  CsvLogWriter writer;
  std::filesystem::path path;
  std::filesystem::path parametersPath;  // the parameter file beside the log
  ParameterWords parametersWritten{};    // registers 80 to 94 in that file
  bool parametersKept = false;           // the file holds the controller's set
  bool recording = false;
  std::string failure;  // why a recording stopped by itself; taken by whoever tells the user
};

// `logs/zavmon-YYYYMMDD-HHMMSS.csv` in `folder` for a recording started at `unixMs`.
std::filesystem::path DefaultLogPath(const std::filesystem::path& folder, std::int64_t unixMs);

// Where the parameter registers of a log are kept: the log's whole name with ".params.car"
// ("drive.csv.params.car"), a name no log and no parameter file of the fitter's takes.
std::filesystem::path ParametersPathOf(const std::filesystem::path& logPath);

// A log may not take the parameter files' extension: nothing when `path` will do, else why.
std::optional<std::string> LogNameProblem(const std::filesystem::path& path);

// Creates the folder if need be and the log (replacing a file there: the caller asked), and
// the parameter file beside it when the controller's set is known; without it, a file left
// there from before is removed, and the file is written once the set is known. Nothing on
// success, else a message for the user naming the file and the reason.
std::optional<std::string> StartRecording(Recorder& recorder, const std::filesystem::path& path,
                                          const ControllerSet& controllerSet);

// One row; a write error stops the recording and leaves the reason in `failure`. Each log
// holds samples driven on one parameter set: when the controller's set changes after it was
// kept (a write completed), the log so far is closed with its set beside it and the
// recording goes on in the next part, "drive-part2.csv", with the new set beside that.
void RecordSample(Recorder& recorder, const LiveSample& sample, const ControllerSet& controllerSet);

// "drive.csv" -> "drive-part2.csv", "drive-part2.csv" -> "drive-part3.csv".
std::filesystem::path NextPartPath(const std::filesystem::path& path);

// Ends the recording. Nothing on success, else what went wrong at the end.
std::optional<std::string> StopRecording(Recorder& recorder);

// "Recording: 1,234 rows, 156 kB · zavmon-20261208-150405.csv" while recording (with
// " · parameters not read yet" until the controller's set is known), else empty.
std::string RecordingStatusText(const Recorder& recorder);

}  // namespace zav
