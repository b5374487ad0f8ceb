#pragma once
// Comma-separated fields as RFC 4180 has them: a field holding a comma, a double quote, CR
// or LF is put in double quotes, with each double quote inside doubled; records end in CRLF.

#include <string>
#include <string_view>
#include <vector>

namespace zav {

inline constexpr std::string_view kCsvRecordEnd = "\r\n";

// Appends `field` to `row`, quoted when it needs to be.
void AppendCsvField(std::string& row, std::string_view field);

// One record of a CSV text.
struct CsvRecord {
  std::vector<std::string> fields;
  int line = 0;            // line of the text on which the record starts, from 1
  bool ended = false;      // the record was closed by a line end (else: the text ran out)
  bool badQuotes = false;  // a quote out of place, or a quoted field never closed
};

// Splits `text` from `offset` into its next record; moves `offset` and `line` past it.
// Accepts CRLF and a lone LF as line ends.
CsvRecord NextCsvRecord(std::string_view text, std::size_t& offset, int& line);

}  // namespace zav
