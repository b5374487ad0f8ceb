#pragma once
// The two drives the assistant compares, read back from the data logs the window records,
// with the parameter registers that were in force beside each. A drive on petrol and one on
// gas may also be one log that switches over: each log gives only its samples on its fuel.

#include <array>
#include <cstdint>
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

// The parameter set a gas drive was driven on, and where it was found.
struct InForceSet {
  ParameterWords words{};
  std::string source;  // "the parameter file beside gas.csv", "the controller's set", ...
};

// The parameter file beside the gas log when there is one; else `otherwise` (the window:
// the controller's confirmed set; zavctl: --in-force FILE or the factory set); nothing when
// neither is known.
std::optional<InForceSet> InForceFor(const CalibrationLog& gasLog,
                                     const std::optional<InForceSet>& otherwise);

// "Factors in force: 2.20 and 1.12 (the parameter file beside gas.csv)."
std::string InForceText(const InForceSet& inForce);

// The logs a window has read, kept until the file changes, so a recalculation does not read
// them again.
struct LogCache {
  struct Entry {
    std::filesystem::path path;
    Fuel fuel = Fuel::Petrol;
    std::uintmax_t bytes = 0;
    std::filesystem::file_time_type written;
    LoadedCalibrationLog loaded;
  };
  std::array<std::optional<Entry>, 2> entries;  // petrol, gas: each stays where it is
  int reads = 0;                                // logs read from disk, for the tests
};

// The log as LoadCalibrationLog reads it, read again only when its size or time changed.
const LoadedCalibrationLog& CachedLog(LogCache& cache, const std::filesystem::path& path,
                                      Fuel fuel);

// "petrol" or "gas".
std::string_view FuelName(Fuel fuel);

}  // namespace zav
