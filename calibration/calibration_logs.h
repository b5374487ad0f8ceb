#pragma once
// The two drives the assistant compares, read back from the data logs the window records,
// with the parameter registers that were in force beside each. A drive on petrol and one on
// gas may also be one log that switches over: each log gives only its samples on its fuel.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calibration/steady_samples.h"
#include "params/parameter_set.h"

namespace zav {

struct CalibrationLog {
  std::filesystem::path path;
  std::vector<DecodedSample> samples;
  std::optional<ParameterWords> parameters;  // from the parameter file beside the log
  std::string note;  // something the user should know that does not stop the work
};

struct LoadedCalibrationLog {
  CalibrationLog log;
  std::string error;  // empty: read; else what is wrong, naming the file
};

// Reads the log and checks it holds samples on `fuel`.
LoadedCalibrationLog LoadCalibrationLog(const std::filesystem::path& path, Fuel fuel);

// The parameter file beside a log, when there is one that reads.
std::optional<ParameterWords> ParametersBeside(const std::filesystem::path& logPath);

// "petrol" or "gas".
std::string_view FuelName(Fuel fuel);

}  // namespace zav
