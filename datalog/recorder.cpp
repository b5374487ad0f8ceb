#include "datalog/recorder.h"

#include <algorithm>
#include <system_error>

#include "datalog/local_time.h"
#include "params/parameter_file.h"
#include "texts/thousands.h"

namespace zav {

namespace {

std::optional<std::string> WriteParameters(Recorder& recorder, const RegisterImage& image) {
  recorder.parametersWritten = ParametersOf(image);
  return WriteParameterFile(recorder.parametersPath, EncodeParameterFile(image));
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
  return "Recording " + recorder.path.filename().string() + ": " +
         WithThousands(recorder.writer.rows) + (recorder.writer.rows == 1 ? " row, " : " rows, ") +
         SizeText(recorder.writer.bytesWritten);
}

}  // namespace zav
