#pragma once
// Reads a data log this program wrote (see csv_log_writer.h). The file is only read.
//
// A last row without its line end is what a recording ended by a crash or power cut
// leaves: it is left out and reported. Anything else that does not match the columns is
// refused with the line and what is wrong there. The file is read a piece at a time and row
// by row: a line longer than 64 kB, or a row with more fields than a log has, is refused as
// soon as it is seen, so a file that is no log costs little memory.

#include <filesystem>
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

// "the last row (line 42) was cut off and is left out", or empty.
std::string CutRowNote(const CsvLogContents& contents);

}  // namespace zav
