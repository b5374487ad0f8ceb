#include "datalog/csv_log_reader.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

#include "datalog/csv_fields.h"
#include "datalog/csv_log_writer.h"
#include "texts/live_text.h"

namespace zav {

namespace {

constexpr std::size_t kColumns = 2 + kShownColumns + kHiddenColumns + 2;
constexpr std::size_t kFirstShownField = 2;
constexpr std::size_t kFirstHiddenField = kFirstShownField + kShownColumns;
constexpr std::size_t kStatusField = kFirstHiddenField + kHiddenColumns;

std::vector<std::string> HeaderFields() {
  const std::string header = CsvHeaderRow();
  std::size_t offset = 0;
  int line = 1;
  return NextCsvRecord(header, offset, line).fields;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) {
    return false;
  }
  for (const char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
      return false;
    }
  }
  return true;
}

std::optional<std::uint16_t> Register(std::string_view text) {
  unsigned value = 0;
  if (!AllDigits(text) || text.size() > 5) {
    return std::nullopt;
  }
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value > 65535) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

// Digits, a point and exactly `decimals` digits.
bool IsFixedPoint(std::string_view text, std::size_t decimals) {
  const std::size_t point = text.find('.');
  return point != std::string_view::npos && AllDigits(text.substr(0, point)) &&
         text.size() - point - 1 == decimals && AllDigits(text.substr(point + 1));
}

// "YYYY-MM-DDTHH:MM:SS.mmm"
bool IsLocalTime(std::string_view text) {
  constexpr std::string_view kShape = "0000-00-00T00:00:00.000";
  if (text.size() != kShape.size()) {
    return false;
  }
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (kShape[i] == '0' ? !digit : text[i] != kShape[i]) {
      return false;
    }
  }
  return true;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text.substr(0, 40)) + "\"";
}

// Reads one shown value; empty on success, else what is wrong.
std::string ReadShown(const ShownColumn& column, const std::string& text, float& number) {
  if (column.form == ShownForm::Milliseconds) {
    if (!IsFixedPoint(text, 2)) {
      return "is not a time in ms with two decimals";
    }
    std::from_chars(text.data(), text.data() + text.size(), number);
    return {};
  }
  const std::optional<std::uint16_t> value = Register(text);
  if (!value) {
    return "is not a whole number from 0 to 65535";
  }
  number = static_cast<float>(*value);
  return {};
}

std::string ReadStatus(const std::string& value, const std::string& text, DecodedSample& sample) {
  if (value.empty() && text.empty()) {
    return {};
  }
  const std::optional<std::uint16_t> status = Register(value);
  if (!status) {
    return "the status " + Quoted(value) + " is not a whole number from 0 to 65535";
  }
  if (text != StatusText(*status)) {
    return "the status text " + Quoted(text) + " does not belong to status " + value;
  }
  sample.statusKnown = true;
  sample.status = *status;
  return {};
}

// Empty when the row is sound, else what is wrong with it.
std::string ReadRow(const CsvRecord& record, const std::vector<std::string>& headings,
                    DecodedSample& sample) {
  const std::vector<std::string>& fields = record.fields;
  if (record.badQuotes) {
    return "a field's quotes are out of place";
  }
  if (fields.size() != kColumns) {
    return "it has " + std::to_string(fields.size()) + " fields instead of " +
           std::to_string(kColumns);
  }
  if (!IsLocalTime(fields[0])) {
    return "the time " + Quoted(fields[0]) + " is not of the form 2026-12-08T15:04:05.123";
  }
  if (!IsFixedPoint(fields[1], 3)) {
    return "the seconds " + Quoted(fields[1]) + " are not a number with three decimals";
  }
  std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), sample.seconds);
  for (std::size_t i = 0; i < kShownColumns; ++i) {
    const std::string& text = fields[kFirstShownField + i];
    if (std::string what = ReadShown(kShownColumnTable[i], text, sample.shown[i]); !what.empty()) {
      return Quoted(text) + " in column " + Quoted(headings[kFirstShownField + i]) + " " + what;
    }
  }
  for (std::size_t i = 0; i < kHiddenColumns; ++i) {
    const std::string& text = fields[kFirstHiddenField + i];
    const std::optional<std::uint16_t> value = Register(text);
    if (!value) {
      return Quoted(text) + " in column " + Quoted(headings[kFirstHiddenField + i]) +
             " is not a whole number from 0 to 65535";
    }
    sample.hidden[i] = *value;
  }
  return ReadStatus(fields[kStatusField], fields[kStatusField + 1], sample);
}

std::string AtLine(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

CsvLogContents ParseCsvLog(std::string_view text) {
  CsvLogContents contents;
  const std::vector<std::string> headings = HeaderFields();
  std::size_t offset = 0;
  int line = 1;
  const CsvRecord header = NextCsvRecord(text, offset, line);
  if (header.fields != headings || !header.ended) {
    contents.error = AtLine(1, "this is not a ZAV Monitor data log (the column names differ)");
    return contents;
  }
  while (offset < text.size()) {
    const CsvRecord record = NextCsvRecord(text, offset, line);
    if (!record.ended) {
      contents.cutLine = record.line;  // the text ran out inside the last row
      break;
    }
    DecodedSample sample;
    if (std::string what = ReadRow(record, headings, sample); !what.empty()) {
      contents.error = AtLine(record.line, what);
      contents.samples.clear();
      return contents;
    }
    contents.samples.push_back(sample);
  }
  return contents;
}

CsvLogContents ReadCsvLog(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    CsvLogContents contents;
    contents.error = "The log file cannot be opened.";
    return contents;
  }
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) {
    CsvLogContents contents;
    contents.error = "The log file cannot be read.";
    return contents;
  }
  return ParseCsvLog(text);
}

std::string CutRowNote(const CsvLogContents& contents) {
  if (contents.cutLine == 0) {
    return {};
  }
  return "The last row (line " + std::to_string(contents.cutLine) +
         ") was cut off, as a recording ended by a crash leaves it, and is left out.";
}

}  // namespace zav
