#include "datalog/recorder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

#include "datalog/local_time.h"
#include "params/parameter_file.h"
#include "platform/files/path_text.h"
#include "texts/joiner.h"
#include "texts/thousands.h"

namespace zav {

namespace {

// Keeps the controller's set beside the log, when it is known and not kept already.
std::optional<std::string> KeepParameters(Recorder& recorder, const ControllerSet& controllerSet) {
  // Asked on every row: the image is made only when the set is new.
  if (recorder.parametersKept && recorder.parametersWritten == controllerSet.words) {
    return std::nullopt;
  }
  const std::optional<RegisterImage> image = ControllerImage(controllerSet);
  if (!image) {
    return std::nullopt;
  }
  recorder.parametersWritten = controllerSet.words;
  recorder.parametersKept = true;
  return WriteParameterFile(recorder.parametersPath, EncodeParameterFile(*image));
}

bool EndsWithCar(const std::filesystem::path& path) {
  std::string extension = Utf8FromPath(path.extension());
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".car";
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1024) {
    return std::to_string(bytes) + " bytes";
  }
  if (bytes < 10 * 1024 * 1024) {
    return WithThousands((bytes + 512) / 1024) + " kB";
  }
  return WithThousands((bytes + 512 * 1024) / (1024 * 1024)) + " MB";
}

}  // namespace

std::filesystem::path DefaultLogPath(const std::filesystem::path& folder, std::int64_t unixMs) {
  return folder / "logs" / ("zavmon-" + LocalStampForFileName(unixMs) + ".csv");
}

std::filesystem::path ParametersPathOf(const std::filesystem::path& logPath) {
  std::filesystem::path path = logPath;
  return path += ".params.car";
}

std::optional<std::string> LogNameProblem(const std::filesystem::path& path) {
  if (EndsWithCar(path)) {
    return "A log cannot be named \"" + Utf8FromPath(path.filename()) +
           "\": .car is the name of parameter files. Choose a name ending in .csv.";
  }
  return std::nullopt;
}

std::optional<std::string> StartRecording(Recorder& recorder, const std::filesystem::path& path,
                                          const ControllerSet& controllerSet) {
  if (std::optional<std::string> problem = LogNameProblem(path)) {
    return problem;
  }
  std::error_code error;
  if (path.has_parent_path()) {
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
      return "Could not create the folder \"" + Utf8FromPath(path.parent_path()) +
             "\": " + error.message();
    }
  }
  recorder = Recorder{};
  if (!OpenCsvLog(recorder.writer, path)) {
    return recorder.writer.error;
  }
  recorder.path = path;
  recorder.parametersPath = ParametersPathOf(path);
  // A parameter file from an earlier log of this name would pass for this drive's.
  std::filesystem::remove(recorder.parametersPath, error);
  if (std::optional<std::string> failed = KeepParameters(recorder, controllerSet)) {
    CloseCsvLog(recorder.writer);
    std::filesystem::remove(path, error);
    return failed;
  }
  recorder.recording = true;
  return std::nullopt;
}

std::filesystem::path NextPartPath(const std::filesystem::path& path) {
  const std::string stem = Utf8FromPath(path.stem());
  const std::size_t mark = stem.rfind("-part");
  int part = 1;
  std::string base = stem;
  if (mark != std::string::npos) {
    const char* first = stem.data() + mark + 5;
    const char* last = stem.data() + stem.size();
    int number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error == std::errc() && end == last && first != last && number >= 1 && number < 100000) {
      part = number;
      base = stem.substr(0, mark);
    }
  }
  std::filesystem::path next = path;
  next.replace_filename(
      PathFromUtf8(base + "-part" + std::to_string(part + 1) + Utf8FromPath(path.extension())));
  return next;
}

void RecordSample(Recorder& recorder, const LiveSample& sample,
                  const ControllerSet& controllerSet) {
  if (!recorder.recording) {
    return;
  }
  if (recorder.parametersKept && HasControllerSet(controllerSet) &&
      controllerSet.words != recorder.parametersWritten) {
    // The set changed: the rows from here on were driven on other factors.
    const std::filesystem::path next = NextPartPath(recorder.path);
    CloseCsvLog(recorder.writer);
    if (std::optional<std::string> failed = StartRecording(recorder, next, controllerSet)) {
      recorder.recording = false;
      recorder.failure = *failed;
      return;
    }
  }
  if (!WriteCsvRow(recorder.writer, sample)) {
    recorder.recording = false;
    recorder.failure = recorder.writer.error;
    return;
  }
  if (std::optional<std::string> failed = KeepParameters(recorder, controllerSet)) {
    StopRecording(recorder);
    recorder.failure = *failed;
  }
}

std::optional<std::string> StopRecording(Recorder& recorder) {
  if (!recorder.recording) {
    return std::nullopt;
  }
  recorder.recording = false;
  if (!CloseCsvLog(recorder.writer)) {
    return recorder.writer.error;
  }
  return std::nullopt;
}

std::string RecordingStatusText(const Recorder& recorder) {
  if (!recorder.recording) {
    return {};
  }
  // The rows and the size first: a narrow window cuts the end, and the name is known.
  return "Recording: " + WithThousands(recorder.writer.rows) +
         (recorder.writer.rows == 1 ? " row, " : " rows, ") +
         SizeText(recorder.writer.bytesWritten + recorder.writer.waiting.size()) + kJoiner +
         Utf8FromPath(recorder.path.filename()) +
         (recorder.parametersKept ? "" : kJoiner + std::string("parameters ") + kNotReadYet);
}

}  // namespace zav
