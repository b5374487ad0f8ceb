#pragma once
// Reads a data log this program wrote (see csv_log_writer.h). The file is only read.
//
// A last row without its line end is what a recording ended by a crash or power cut
// leaves: it is left out and reported. Anything else that does not match the columns is
// refused with the line and what is wrong there. The file is read a piece at a time and row
// by row: a line longer than 64 kB, or a row with more fields than a log has, is refused as
// soon as it is seen, so a file that is no log costs little memory.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datalog/sample_columns.h"

namespace zav {

struct CsvLogContents {
  std::vector<DecodedSample> samples;
  int cutLine = 0;    // line of a cut-off last row that was left out, 0: none
  std::string error;  // empty when the file was read; else what is wrong, naming the line
};

CsvLogContents ReadCsvLog(const std::filesystem::path& path);
CsvLogContents ParseCsvLog(std::string_view text);

class LogParser;

// Follows a log while it is being recorded: each look reads only the bytes added since the
// last one, and hands over the whole rows among them. A row still being written waits for
// the next look. Once the log is refused every look gives the same error.
class CsvLogFollower {
 public:
  explicit CsvLogFollower(std::filesystem::path path);
  ~CsvLogFollower();
  CsvLogFollower(const CsvLogFollower&) = delete;
  CsvLogFollower& operator=(const CsvLogFollower&) = delete;

  CsvLogContents ReadAdded();
  std::uintmax_t BytesRead() const { return offset_; }

 private:
  std::filesystem::path path_;
  std::uintmax_t offset_ = 0;  // bytes of the file read so far
  std::string pending_;        // the start of a row whose end is not written yet
  std::unique_ptr<LogParser> parser_;
};

// "the last row (line 42) was cut off and is left out", or empty.
std::string CutRowNote(const CsvLogContents& contents);

}  // namespace zav
