#pragma once
// Writes live samples as CSV: one header row of names and units, then one row per sample.
// Comma separator, point decimals, RFC 4180 quoting, CRLF line ends, so LibreOffice and
// Python's csv module read the file as it is.
//
// Columns: "Time (local)" (ISO 8601 local time with ms and the offset from UTC,
// "2026-12-08T15:04:05.123+01:00"), "Seconds (s)" since the first
// sample, the sixteen values the main window shows as it shows them, "Register 41" to
// "Register 43" raw, "Status" (the status value) and "Status text" ("Petrol", "Gas", ...).
// Both status fields are empty while no status has arrived.
//
// A file gets the rows of each second together, whole, and is synced to the disk with them:
// a crash or a power cut loses at most the last second. A stream given from outside (a
// pipe, a terminal) gets each row whole as it comes. A write error ends the writer: it says
// which file and why, and cuts rows the disk took only in part back off the file, so only
// whole rows remain.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "datalog/live_sample.h"
#include "platform/files/path_text.h"

namespace zav {

inline constexpr std::int64_t kLogSyncIntervalMs = 1000;

struct CsvLogWriter {
  std::FILE* stream = nullptr;  // null once closed or failed
  CFile ownedFile;
  std::string name;                // the file as messages name it
  std::filesystem::path path;      // empty for a stream given from outside
  std::uint64_t bytesWritten = 0;  // whole rows (and the header) the stream accepted
  std::uint64_t rows = 0;          // sample rows taken, those waiting included
  std::string waiting;             // rows taken since the last write (a file's second)
  std::uint64_t waitingRows = 0;
  bool started = false;  // the first sample set second 0
  std::int64_t startSteadyMs = 0;
  std::int64_t lastSyncSteadyMs = 0;
  std::string error;  // empty while all is well
};

// Creates (or replaces) the file at `path` and writes the header. False on failure, with
// `writer.error` saying what went wrong; the folder must exist.
bool OpenCsvLog(CsvLogWriter& writer, const std::filesystem::path& path);

// Writes to a stream the caller owns and closes (standard output, for example); `name` is
// how messages call it. Writes the header.
bool AttachCsvLog(CsvLogWriter& writer, std::FILE* stream, std::string name);

// One row for the sample. False when the writer has failed, now or before.
bool WriteCsvRow(CsvLogWriter& writer, const LiveSample& sample);

// Writes the rows waiting, syncs and closes (an attached stream is only flushed). False when
// that failed.
bool CloseCsvLog(CsvLogWriter& writer);

bool IsCsvLogOpen(const CsvLogWriter& writer);

// The header and a row as text, with their line ends.
std::string CsvHeaderRow();
std::string CsvSampleRow(const LiveSample& sample, std::int64_t startSteadyMs);

}  // namespace zav
