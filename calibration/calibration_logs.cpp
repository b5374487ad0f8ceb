#include "calibration/calibration_logs.h"

#include <algorithm>

#include "calibration/calibration_text.h"
#include "datalog/csv_log_reader.h"
#include "datalog/recorder.h"
#include "params/parameter_file.h"
#include "params/set_factors.h"
#include "platform/files/path_text.h"

namespace zav {

namespace {

Fuel OtherFuel(Fuel fuel) {
  return fuel == Fuel::Petrol ? Fuel::Gas : Fuel::Petrol;
}

std::string WrongFuelText(const std::filesystem::path& path, Fuel fuel) {
  const std::string name = Utf8FromPath(path);
  if (fuel == Fuel::Petrol) {
    return name +
           ": only one fuel: no sample was taken on petrol. Record the first drive on petrol "
           "(the window shows \"Petrol\"), across the load range.";
  }
  return name +
         ": only one fuel: no sample was taken on gas. Switch to gas (the window shows "
         "\"Gas\"), then record the second drive the same way as the first.";
}

}  // namespace

std::optional<InForceSet> InForceFor(const CalibrationLog& gasLog,
                                     const std::optional<InForceSet>& otherwise) {
  if (gasLog.parameters) {
    return InForceSet{*gasLog.parameters,
                      "the parameter file beside " + Utf8FromPath(gasLog.path.filename())};
  }
  return otherwise;
}

std::string InForceText(const InForceSet& inForce) {
  const Factors factors = FactorsOf(inForce.words);
  return "Factors in force: " + FixedText(factors.left, 2) + " and " + FixedText(factors.right, 2) +
         ", from " + inForce.source + ".";
}

const LoadedCalibrationLog& CachedLog(LogCache& cache, const std::filesystem::path& path,
                                      Fuel fuel) {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(path, error);
  const std::filesystem::file_time_type written = std::filesystem::last_write_time(path, error);
  std::optional<LogCache::Entry>& entry = cache.entries[fuel == Fuel::Petrol ? 0 : 1];
  if (entry && entry->path == path && entry->bytes == bytes && entry->written == written &&
      !error) {
    return entry->loaded;
  }
  ++cache.reads;
  entry = LogCache::Entry{path, fuel, bytes, written, LoadCalibrationLog(path, fuel)};
  return entry->loaded;
}

std::string_view FuelName(Fuel fuel) {
  return fuel == Fuel::Petrol ? "petrol" : "gas";
}

std::optional<ParameterWords> ParametersBeside(const std::filesystem::path& logPath) {
  return ReadParameterFile(ParametersPathOf(logPath)).words;
}

LoadedCalibrationLog LoadCalibrationLog(const std::filesystem::path& path, Fuel fuel) {
  LoadedCalibrationLog loaded;
  loaded.log.path = path;
  CsvLogContents contents = ReadCsvLog(path);
  if (!contents.error.empty()) {
    loaded.error = Utf8FromPath(path) + ": not a data log of this program: " + contents.error;
    return loaded;
  }
  if (contents.samples.empty()) {
    loaded.error = Utf8FromPath(path) + (contents.cutLine != 0
                                             ? ": cut off: its only row was not written whole"
                                             : ": no samples, only the heading");
    return loaded;
  }
  loaded.log.note = CutRowNote(contents);
  const auto onFuel = [](Fuel wanted) {
    return [wanted](const DecodedSample& sample) { return IsOnFuel(sample, wanted); };
  };
  if (std::none_of(contents.samples.begin(), contents.samples.end(), onFuel(fuel))) {
    const bool onOther =
        std::any_of(contents.samples.begin(), contents.samples.end(), onFuel(OtherFuel(fuel)));
    loaded.error = onOther ? WrongFuelText(path, fuel)
                           : Utf8FromPath(path) + ": no sample on " + std::string(FuelName(fuel)) +
                                 " or " + std::string(FuelName(OtherFuel(fuel))) +
                                 ": the controller was not answering or not running.";
    return loaded;
  }
  loaded.log.samples = std::move(contents.samples);
  loaded.log.parameters = ParametersBeside(path);
  return loaded;
}

}  // namespace zav
