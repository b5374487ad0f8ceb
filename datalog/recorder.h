#pragma once
// A recording of the live samples to a CSV file, with the parameter registers in force
// beside it in a .car file of the same name (the format File → Open reads), so a log's
// scatter view can draw the factors' line of its own drive.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "datalog/csv_log_writer.h"
#include "link/link_state.h"
#include "params/parameter_set.h"

namespace zav {

struct Recorder {
  CsvLogWriter writer;
  std::filesystem::path path;
  std::filesystem::path parametersPath;  // the .car beside the log
  ParameterWords parametersWritten{};    // registers 80 to 94 in the .car
  bool recording = false;
  std::string failure;  // why a recording stopped by itself; taken by whoever tells the user
};

// `logs/zavmon-YYYYMMDD-HHMMSS.csv` in `folder` for a recording started at `unixMs`.
std::filesystem::path DefaultLogPath(const std::filesystem::path& folder, std::int64_t unixMs);

// Where the parameter registers of a log are kept: the log's name with ".car".
std::filesystem::path ParametersPathOf(const std::filesystem::path& logPath);

// Creates the folder if need be, the log and its .car. Nothing on success, else a message
// for the user naming the file and the reason.
std::optional<std::string> StartRecording(Recorder& recorder, const std::filesystem::path& path,
                                          const RegisterImage& image);

// One row; a write error stops the recording and leaves the reason in `failure`. The .car
// is rewritten when the parameter registers changed since, so it holds the set in force.
void RecordSample(Recorder& recorder, const LiveSample& sample, const RegisterImage& image);

// Ends the recording. Nothing on success, else what went wrong at the end.
std::optional<std::string> StopRecording(Recorder& recorder);

// "Recording: 1,234 rows, 156 kB · zavmon-20261208-150405.csv" while recording, else empty.
std::string RecordingStatusText(const Recorder& recorder);

}  // namespace zav
