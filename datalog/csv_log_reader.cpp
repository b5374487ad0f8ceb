#include "datalog/csv_log_reader.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <utility>

#include "datalog/csv_fields.h"
#include "datalog/csv_log_writer.h"
#include "platform/files/path_text.h"
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

// `text` has the shape, '0' standing for any digit.
bool HasShape(std::string_view text, std::string_view shape) {
  if (text.size() != shape.size()) {
    return false;
  }
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (shape[i] == '0' ? !digit : text[i] != shape[i]) {
      return false;
    }
  }
  return true;
}

// "YYYY-MM-DDTHH:MM:SS.mmm+hh:mm" (or -hh:mm); logs written before the offset was added end
// at the milliseconds.
bool IsLocalTime(std::string_view text) {
  constexpr std::string_view kShape = "0000-00-00T00:00:00.000";
  if (text.size() == kShape.size()) {
    return HasShape(text, kShape);
  }
  return HasShape(text.substr(0, kShape.size()), kShape) &&
         (HasShape(text.substr(kShape.size()), "+00:00") ||
          HasShape(text.substr(kShape.size()), "-00:00"));
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
    return "the time " + Quoted(fields[0]) + " is not of the form 2026-12-08T15:04:05.123+01:00";
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

// The end of the record that starts at `from` (past its line end), or npos when `text` ends
// inside it. Counts the separators outside quotes on the way, so a row with far too many
// fields is refused before any is split.
std::size_t RecordEnd(std::string_view text, std::size_t from, std::size_t& separators) {
  bool quoted = false;
  separators = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ',') {
      ++separators;
    } else if (!quoted && c == '\n') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace

// Reads the log record by record from a source that hands out the text in pieces, keeping
// no more of it than the record being read.
class LogParser {
 public:
  // Takes what the source has added to `pending`; false once the log is refused.
  bool Take(std::string& pending, bool last) {
    std::size_t from = 0;
    while (from < pending.size()) {
      std::size_t separators = 0;
      std::size_t end = RecordEnd(pending, from, separators);
      if (separators >= kColumns + 1) {
        return Refuse(AtLine(line_, "it has more than " + std::to_string(kColumns) +
                                        " fields: this is not a ZAV Monitor data log"));
      }
      if (end == std::string_view::npos) {
        if (pending.size() - from > kLongestRow) {
          return Refuse(AtLine(line_, "the line is longer than " + std::to_string(kLongestRow) +
                                          " bytes: this is not a ZAV Monitor data log"));
        }
        if (!last) {
          break;  // the rest of the record comes with the next piece
        }
        end = pending.size();
      }
      if (end - from > kLongestRow) {
        return Refuse(AtLine(line_, "the line is longer than " + std::to_string(kLongestRow) +
                                        " bytes: this is not a ZAV Monitor data log"));
      }
      if (!Record(std::string_view(pending).substr(from, end - from))) {
        return false;
      }
      from = end;
    }
    pending.erase(0, from);
    return true;
  }

  // The samples read so far, handed over: the parser keeps none of them.
  std::vector<DecodedSample> TakeSamples() { return std::exchange(contents_.samples, {}); }
  const std::string& Error() const { return contents_.error; }

  CsvLogContents Finish() {
    if (!headerSeen_ && contents_.error.empty()) {
      contents_.error = AtLine(1, "this is not a ZAV Monitor data log (the column names differ)");
    }
    return std::move(contents_);
  }

 private:
  // The longest row this program writes is a few hundred bytes.
  static constexpr std::size_t kLongestRow = 64 * 1024;  // bytes

  bool Refuse(std::string what) {
    contents_.error = std::move(what);
    contents_.samples.clear();
    contents_.samples.shrink_to_fit();
    return false;
  }

  bool Record(std::string_view text) {
    std::size_t offset = 0;
    const CsvRecord record = NextCsvRecord(text, offset, line_);
    if (!headerSeen_) {
      headerSeen_ = true;
      if (record.fields != headings_ || !record.ended) {
        return Refuse(AtLine(1, "this is not a ZAV Monitor data log (the column names differ)"));
      }
      return true;
    }
    if (!record.ended) {
      contents_.cutLine = record.line;  // the text ran out inside the last row
      return true;
    }
    DecodedSample sample;
    if (std::string what = ReadRow(record, headings_, sample); !what.empty()) {
      return Refuse(AtLine(record.line, what));
    }
    contents_.samples.push_back(sample);
    return true;
  }

  const std::vector<std::string> headings_ = HeaderFields();
  CsvLogContents contents_;
  bool headerSeen_ = false;
  int line_ = 1;
};

CsvLogContents ParseCsvLog(std::string_view text) {
  LogParser parser;
  std::string pending(text);
  parser.Take(pending, true);
  return parser.Finish();
}

CsvLogContents ReadCsvLog(const std::filesystem::path& path) {
  const CFile file = OpenCFile(path, "rb");
  if (!file) {
    CsvLogContents contents;
    contents.error = "The log file cannot be opened.";
    return contents;
  }
  constexpr std::size_t kPiece = 64 * 1024;  // bytes read at a time
  LogParser parser;
  std::string pending;
  std::string piece(kPiece, '\0');
  bool going = true;
  bool atEnd = false;
  while (going && !atEnd) {
    const std::size_t got = std::fread(piece.data(), 1, piece.size(), file.get());
    pending.append(piece.data(), got);
    atEnd = got < piece.size();
    going = parser.Take(pending, atEnd);
  }
  if (std::ferror(file.get()) != 0) {
    CsvLogContents contents;
    contents.error = "The log file cannot be read.";
    return contents;
  }
  return parser.Finish();
}

CsvLogFollower::CsvLogFollower(std::filesystem::path path)
    : path_(std::move(path)), parser_(std::make_unique<LogParser>()) {}

CsvLogFollower::~CsvLogFollower() = default;

CsvLogContents CsvLogFollower::ReadAdded() {
  CsvLogContents added;
  if (!parser_->Error().empty()) {
    added.error = parser_->Error();
    return added;
  }
  const CFile file = OpenCFile(path_, "rb");
  if (!file || std::fseek(file.get(), static_cast<long>(offset_), SEEK_SET) != 0) {
    added.error = "The log file cannot be opened.";
    return added;
  }
  constexpr std::size_t kPiece = 64 * 1024;  // bytes read at a time
  std::string piece(kPiece, '\0');
  bool going = true;
  bool atEnd = false;
  while (going && !atEnd) {
    const std::size_t got = std::fread(piece.data(), 1, piece.size(), file.get());
    atEnd = got < piece.size();
    offset_ += got;
    pending_.append(piece.data(), got);
    // A row without its line end yet is still being written: it waits for the next look.
    going = parser_->Take(pending_, false);
  }
  added.error = parser_->Error();
  added.samples = parser_->TakeSamples();
  return added;
}

std::string CutRowNote(const CsvLogContents& contents) {
  if (contents.cutLine == 0) {
    return {};
  }
  return "The last row (line " + std::to_string(contents.cutLine) +
         ") was cut off, as a recording ended by a crash leaves it, and is left out.";
}

}  // namespace zav
