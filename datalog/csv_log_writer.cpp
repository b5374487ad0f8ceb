#include "datalog/csv_log_writer.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>

#include "datalog/csv_fields.h"
#include "datalog/file_sync.h"
#include "datalog/local_time.h"
#include "datalog/sample_columns.h"
#include "platform/files/path_text.h"
#include "texts/live_text.h"

namespace zav {

namespace {

// "1.150" for 1150 ms: always a point, whatever the user's locale.
std::string SecondsText(std::int64_t milliseconds) {
  std::array<char, 32> text{};
  const std::to_chars_result end =
      std::to_chars(text.data(), text.data() + text.size(),
                    static_cast<double>(milliseconds) / 1000.0, std::chars_format::fixed, 3);
  return std::string(text.data(), end.ptr);
}

std::string Reason(int error) {
  return std::generic_category().message(error);
}

// Ends the writer after a failed write or sync: the message, and only whole rows left.
bool Fail(CsvLogWriter& writer, const std::string& what, int error) {
  writer.error = what + " \"" + writer.name + "\": " + Reason(error);
  writer.rows -= writer.waitingRows;
  writer.waiting.clear();
  writer.waitingRows = 0;
  writer.stream = nullptr;
  writer.ownedFile.reset();
  if (!writer.path.empty()) {
    std::error_code ignored;
    std::filesystem::resize_file(writer.path, writer.bytesWritten, ignored);
  }
  return false;
}

// The whole text in one write and a flush, so the operating system has it all or fails.
bool WriteWhole(CsvLogWriter& writer, const std::string& text) {
  if (writer.stream == nullptr) {
    return false;
  }
  errno = 0;
  const std::size_t written = std::fwrite(text.data(), 1, text.size(), writer.stream);
  if (written != text.size() || std::fflush(writer.stream) != 0) {
    return Fail(writer, "Could not write to the log file", errno != 0 ? errno : EIO);
  }
  writer.bytesWritten += text.size();
  return true;
}

bool Sync(CsvLogWriter& writer) {
  errno = 0;
  if (!SyncToDisk(writer.stream)) {
    return Fail(writer, "Could not save the log file", errno != 0 ? errno : EIO);
  }
  return true;
}

// The rows waiting, in one write; they count as written once the stream took them all.
bool WriteWaiting(CsvLogWriter& writer) {
  if (writer.waitingRows == 0) {
    return true;
  }
  if (!WriteWhole(writer, writer.waiting)) {
    return false;
  }
  writer.waiting.clear();
  writer.waitingRows = 0;
  return true;
}

// A file's rows wait for the second to pass, then are written and synced together: one
// write and one sync a second, not a write a row. An outside stream's reader (a pipe, a
// terminal) wants each row as it comes.
bool PassOnIfDue(CsvLogWriter& writer, std::int64_t steadyMs) {
  const bool secondPassed = steadyMs - writer.lastSyncSteadyMs >= kLogSyncIntervalMs;
  if (!secondPassed && !writer.path.empty()) {
    return true;
  }
  if (!WriteWaiting(writer)) {
    return false;
  }
  if (!secondPassed) {
    return true;
  }
  writer.lastSyncSteadyMs = steadyMs;
  return Sync(writer);
}

}  // namespace

std::string CsvHeaderRow() {
  std::string row = "Time (local),Seconds (s)";
  for (const ShownColumn& column : kShownColumnTable) {
    row += ',';
    AppendCsvField(row, ColumnHeading(column));
  }
  row += ",Register 41,Register 42,Register 43,Status,Status text";
  row += kCsvRecordEnd;
  return row;
}

std::string CsvSampleRow(const LiveSample& sample, std::int64_t startSteadyMs) {
  std::string row = LocalTimeText(sample.unixMs);
  row += ',';
  row += SecondsText(sample.steadyMs - startSteadyMs);
  for (const ShownColumn& column : kShownColumnTable) {
    row += ',';
    AppendCsvField(row, ShownText(column, sample));
  }
  for (int i = 0; i < kHiddenColumns; ++i) {
    row += ',';
    row += std::to_string(sample.values[static_cast<std::size_t>(kFirstHiddenRow + i)]);
  }
  row += ',';
  if (sample.statusKnown) {
    row += std::to_string(sample.status);
    row += ',';
    AppendCsvField(row, StatusText(sample.status));
  } else {
    row += ',';
  }
  row += kCsvRecordEnd;
  return row;
}

bool OpenCsvLog(CsvLogWriter& writer, const std::filesystem::path& path) {
  writer = CsvLogWriter{};
  writer.name = Utf8FromPath(path);
  errno = 0;
  writer.ownedFile = OpenCFile(path, "wb");
  if (!writer.ownedFile) {
    writer.error = "Could not create the log file \"" + writer.name +
                   "\": " + Reason(errno != 0 ? errno : EIO);
    return false;
  }
  writer.path = path;
  writer.stream = writer.ownedFile.get();
  return WriteWhole(writer, CsvHeaderRow());
}

bool AttachCsvLog(CsvLogWriter& writer, std::FILE* stream, std::string name) {
  writer = CsvLogWriter{};
  writer.name = std::move(name);
  writer.stream = stream;
  return WriteWhole(writer, CsvHeaderRow());
}

bool WriteCsvRow(CsvLogWriter& writer, const LiveSample& sample) {
  if (writer.stream == nullptr) {
    return false;
  }
  if (!writer.started) {
    writer.started = true;
    writer.startSteadyMs = sample.steadyMs;
    writer.lastSyncSteadyMs = sample.steadyMs;
  }
  writer.waiting += CsvSampleRow(sample, writer.startSteadyMs);
  ++writer.waitingRows;
  ++writer.rows;
  return PassOnIfDue(writer, sample.steadyMs);
}

bool CloseCsvLog(CsvLogWriter& writer) {
  if (writer.stream == nullptr) {
    return writer.error.empty();
  }
  if (!WriteWaiting(writer) || !Sync(writer)) {
    return false;
  }
  writer.stream = nullptr;
  errno = 0;
  if (writer.ownedFile && std::fclose(writer.ownedFile.release()) != 0) {
    // Taken at once: building the message may allocate, and that may set errno anew.
    const int error = errno != 0 ? errno : EIO;
    writer.error = "Could not close the log file \"" + writer.name + "\": " + Reason(error);
    return false;
  }
  return true;
}

bool IsCsvLogOpen(const CsvLogWriter& writer) {
  return writer.stream != nullptr;
}

}  // namespace zav
