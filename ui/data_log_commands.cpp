#include "ui/data_log_commands.h"

#include "ui/connection_commands.h"

#include "datalog/csv_log_reader.h"
#include "params/parameter_file.h"
#include "platform/files/path_text.h"
#include "ui/extra_commands.h"
#include "ui/program.h"

namespace zav {

namespace {

constexpr const char* kLogCaption = "Data log";

FileDialogOptions LogFileOptions() {
  FileDialogOptions options;
  options.filterCaption = "Data logs (*.csv)";
  options.filterPattern = "*.csv";
  options.defaultExtension = "csv";
  return options;
}

void ShowRecordingState(Program& program, WindowRef window) {
  const bool recording = program.dataLog.recorder.recording;
  Desktop& desktop = *program.link.desktop;
  desktop.SetMenuItemChecked(window, kStartRecording, recording);
  desktop.SetMenuItemEnabled(window, kStartRecording, !recording);
  desktop.SetMenuItemEnabled(window, kStopRecording, recording);
  program.statusLine.recording = RecordingStatusText(program.dataLog.recorder);
}

void ShowError(Program& program, WindowRef window, const std::string& text) {
  program.link.desktop->ShowMessage(window, text, kLogCaption, MessageButtons::Ok,
                                    MessageIcon::Error);
}

std::int64_t NowUnixMs(const DataLog& log) {
  return log.source.clock.unixMs ? log.source.clock.unixMs() : 0;
}

bool Exists(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

// The log and the parameter file beside it: each one there already is replaced only when
// the user says so.
bool MayReplace(Program& program, WindowRef window, const std::filesystem::path& path) {
  Desktop& desktop = *program.link.desktop;
  if (Exists(path) && desktop.ShowMessage(window, "File already exist - overwrite ?", "question",
                                          MessageButtons::OkCancel,
                                          MessageIcon::Information) != MessageAnswer::Ok) {
    return false;
  }
  const std::filesystem::path beside = ParametersPathOf(path);
  return !Exists(beside) ||
         desktop.ShowMessage(window,
                             "The parameter file \"" + Utf8FromPath(beside.filename()) +
                                 "\" beside the log exists already. Replace it?",
                             "question", MessageButtons::OkCancel,
                             MessageIcon::Information) == MessageAnswer::Ok;
}

void StartRecordingCommand(Program& program, WindowRef window) {
  DataLog& log = program.dataLog;
  if (log.recorder.recording) {
    return;
  }
  const std::filesystem::path proposed = ProposedLogPath(program);
  std::error_code ignored;
  std::filesystem::create_directories(proposed.parent_path(), ignored);
  FileDialogOptions options = LogFileOptions();
  options.initialPath = Utf8FromPath(proposed);
  const std::optional<std::string> answer = program.link.desktop->ChooseFileToSave(window, options);
  if (!answer) {
    return;
  }
  const std::filesystem::path chosen = PathFromUtf8(*answer);
  if (std::optional<std::string> problem = LogNameProblem(chosen)) {
    ShowError(program, window, *problem);
    return;
  }
  if (!MayReplace(program, window, chosen)) {
    return;
  }
  if (std::optional<std::string> failed = StartRecordingTo(program, window, chosen)) {
    ShowError(program, window, *failed + "\n\nChoose another folder or free some space.");
  }
}

void StopRecordingCommand(Program& program, WindowRef window) {
  if (const std::optional<std::string> failed = StopRecordingNow(program, window)) {
    ShowError(program, window, *failed);
  }
}

std::optional<Factors> FactorsBeside(const std::filesystem::path& logPath) {
  const LoadedParameters loaded = ReadParameterFile(ParametersPathOf(logPath));
  if (!loaded.words) {
    return std::nullopt;
  }
  return FactorsOf(*loaded.words);
}

void OpenLogCommand(Program& program, WindowRef window) {
  const std::optional<std::filesystem::path> chosen = ChooseLogToOpen(program, window);
  if (!chosen) {
    return;
  }
  CsvLogContents contents = ReadCsvLog(*chosen);
  if (!contents.error.empty()) {
    ShowError(program, window,
              "The log \"" + Utf8FromPath(*chosen) + "\" cannot be shown:\n" + contents.error);
    return;
  }
  const std::string note = CutRowNote(contents);
  if (program.dataLog.charts != nullptr) {
    program.dataLog.charts->ShowLog(LogView{
        *chosen, {contents.samples.begin(), contents.samples.end()}, FactorsBeside(*chosen)});
  }
  if (!note.empty()) {
    program.link.desktop->ShowMessage(window, note, kLogCaption, MessageButtons::Ok,
                                      MessageIcon::Information);
  }
}

}  // namespace

std::optional<std::string> StartRecordingTo(Program& program, WindowRef window,
                                            const std::filesystem::path& path) {
  std::optional<std::string> failed;
  if (!program.dataLog.recorder.recording) {
    failed = StartRecording(program.dataLog.recorder, path, program.parameters.confirmedSet);
  }
  ShowRecordingState(program, window);
  return failed;
}

std::optional<std::string> StopRecordingNow(Program& program, WindowRef window) {
  const std::optional<std::string> failed = StopRecording(program.dataLog.recorder);
  ShowRecordingState(program, window);
  return failed;
}

std::filesystem::path ProposedLogPath(const Program& program) {
  return DefaultLogPath(program.link.settingsFile.parent_path(), NowUnixMs(program.dataLog));
}

std::optional<std::filesystem::path> ChooseLogToOpen(Program& program, WindowRef window) {
  FileDialogOptions options = LogFileOptions();
  options.fileMustExist = true;
  // The drive recorded last in this run, if any: Enter opens it, without a hunt through the
  // folders by keyboard.
  options.initialPath = Utf8FromPath(program.dataLog.recorder.path);
  const std::optional<std::string> chosen = program.link.desktop->ChooseFileToOpen(window, options);
  if (!chosen) {
    return std::nullopt;
  }
  return PathFromUtf8(*chosen);
}

void BindDataLog(Program& program) {
  if (!program.dataLog.source.clock.unixMs) {
    program.dataLog.source.clock = SystemSampleClock();
  }
  program.link.hooks.liveSample.push_back([&program](const LiveReplies& replies) {
    DataLog& log = program.dataLog;
    const LiveSample sample = TakeLiveSample(log.source, replies);
    AddToSession(log.session, sample);
    if (log.recorder.recording) {
      RecordSample(log.recorder, sample, program.parameters.confirmedSet);
      // The count moves every tick; as the connection's counters, it is shown about once a
      // second (the first row and a stop at once), sparing the status line a relayout.
      if (!log.recorder.recording || log.recorder.writer.rows % kCounterRefreshTicks == 1) {
        program.statusLine.recording = RecordingStatusText(log.recorder);
      }
    }
    if (log.charts != nullptr) {
      log.charts->SessionChanged();
    }
  });
}

void AddDataLogCommands(Program& program, WindowRef window) {
  AddExtraCommand(program, window, kLogMenu, kStartRecording, "&Start recording\u2026",
                  [&program, window] { StartRecordingCommand(program, window); });
  AddExtraCommand(program, window, kLogMenu, kStopRecording, "S&top recording",
                  [&program, window] { StopRecordingCommand(program, window); });
  AddExtraCommand(program, window, kLogMenu, kShowLiveChart, "&Live chart", [&program] {
    if (program.dataLog.charts != nullptr) {
      program.dataLog.charts->ShowLiveChart();
    }
  });
  AddExtraCommand(program, window, kLogMenu, kShowPetrolAgainstGas, "&Petrol against gas",
                  [&program] {
                    if (program.dataLog.charts != nullptr) {
                      program.dataLog.charts->ShowLiveScatter();
                    }
                  });
  AddExtraCommand(program, window, kLogMenu, kOpenLog, "&Open log\u2026",
                  [&program, window] { OpenLogCommand(program, window); });
  // One key starts and stops: only the item that applies is enabled, and each shows it.
  program.link.desktop->SetMenuItemKey(window, kStartRecording, kRecordingKey);
  program.link.desktop->SetMenuItemKey(window, kStopRecording, kRecordingKey);
  ShowRecordingState(program, window);
}

void ReportRecordingFailure(Program& program, WindowRef window) {
  Recorder& recorder = program.dataLog.recorder;
  if (recorder.failure.empty()) {
    return;
  }
  const std::string failure = std::move(recorder.failure);
  recorder.failure.clear();
  ShowRecordingState(program, window);
  ShowError(program, window,
            "Recording stopped: " + failure +
                "\n\nThe rows written before are kept whole in the file. Free some space or "
                "choose another folder, then start a new recording.");
}

void EndDataLog(Program& program, WindowRef window) {
  if (std::optional<std::string> failed = StopRecording(program.dataLog.recorder)) {
    ShowError(program, window,
              "The recording could not be ended cleanly: " + *failed +
                  "\n\nThe rows written before are kept whole in the file.");
  }
}

}  // namespace zav
