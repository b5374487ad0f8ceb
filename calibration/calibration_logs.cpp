#include "calibration/calibration_logs.h"

#include <algorithm>

#include "datalog/csv_log_reader.h"
#include "datalog/recorder.h"
#include "params/parameter_file.h"

namespace zav {

namespace {

Fuel OtherFuel(Fuel fuel) {
  return fuel == Fuel::Petrol ? Fuel::Gas : Fuel::Petrol;
}

std::string WrongFuelText(const std::filesystem::path& path, Fuel fuel) {
  const std::string name = path.string();
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
    loaded.error = path.string() + ": not a data log of this program: " + contents.error;
    return loaded;
  }
  if (contents.samples.empty()) {
    loaded.error =
        path.string() + (contents.cutLine != 0 ? ": cut off: its only row was not written whole"
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
                           : path.string() + ": no sample on " + std::string(FuelName(fuel)) +
                                 " or " + std::string(FuelName(OtherFuel(fuel))) +
                                 ": the controller was not answering or not running.";
    return loaded;
  }
  loaded.log.samples = std::move(contents.samples);
  loaded.log.parameters = ParametersBeside(path);
  return loaded;
}

}  // namespace zav
