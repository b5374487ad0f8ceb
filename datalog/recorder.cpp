#include "datalog/recorder.h"

#include <algorithm>
#include <system_error>

#include "datalog/local_time.h"
#include "params/parameter_file.h"

namespace zav {

namespace {

std::optional<std::string> WriteParameters(Recorder& recorder, const RegisterImage& image) {
  recorder.parametersWritten = ParametersOf(image);
  return WriteParameterFile(recorder.parametersPath, EncodeParameterFile(image));
}

// "1,234"
std::string Thousands(std::uint64_t number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1024) {
    return std::to_string(bytes) + " bytes";
  }
  if (bytes < 10 * 1024 * 1024) {
    return Thousands((bytes + 512) / 1024) + " kB";
  }
  return Thousands((bytes + 512 * 1024) / (1024 * 1024)) + " MB";
}

}  // namespace

std::filesystem::path DefaultLogPath(const std::filesystem::path& folder, std::int64_t unixMs) {
  return folder / "logs" / ("zavmon-" + LocalStampForFileName(unixMs) + ".csv");
}

std::filesystem::path ParametersPathOf(const std::filesystem::path& logPath) {
  std::filesystem::path path = logPath;
  return path.replace_extension(".car");
}

std::optional<std::string> StartRecording(Recorder& recorder, const std::filesystem::path& path,
                                          const RegisterImage& image) {
  std::error_code error;
  if (path.has_parent_path()) {
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
      return "Could not create the folder \"" + path.parent_path().string() +
             "\": " + error.message();
    }
  }
  recorder = Recorder{};
  if (!OpenCsvLog(recorder.writer, path)) {
    return recorder.writer.error;
  }
  recorder.path = path;
  recorder.parametersPath = ParametersPathOf(path);
  if (std::optional<std::string> failed = WriteParameters(recorder, image)) {
    CloseCsvLog(recorder.writer);
    std::filesystem::remove(path, error);
    return failed;
  }
  recorder.recording = true;
  return std::nullopt;
}

void RecordSample(Recorder& recorder, const LiveSample& sample, const RegisterImage& image) {
  if (!recorder.recording) {
    return;
  }
  if (!WriteCsvRow(recorder.writer, sample)) {
    recorder.recording = false;
    recorder.failure = recorder.writer.error;
    return;
  }
  if (ParametersOf(image) != recorder.parametersWritten) {
    if (std::optional<std::string> failed = WriteParameters(recorder, image)) {
      StopRecording(recorder);
      recorder.failure = *failed;
    }
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
  return "Recording: " + Thousands(recorder.writer.rows) +
         (recorder.writer.rows == 1 ? " row, " : " rows, ") +
         SizeText(recorder.writer.bytesWritten) + " \u00b7 " + recorder.path.filename().string();
}

}  // namespace zav
