// Feeds arbitrary bytes as a data log to open. The reader must never fail on them: it either
// gives samples, or refuses the file with a message that names the line at fault; a row it
// leaves out as cut off is always the last line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "datalog/csv_log_reader.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zav::CsvLogContents contents = zav::ParseCsvLog(text);
  if (!contents.error.empty()) {
    Require(contents.error.find("line") != std::string::npos);
    return 0;
  }
  Require(contents.cutLine >= 0);
  Require(contents.cutLine == 0 || !zav::CutRowNote(contents).empty());
  return 0;
}
