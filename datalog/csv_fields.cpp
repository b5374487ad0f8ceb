#include "datalog/csv_fields.h"

namespace zav {

namespace {

bool NeedsQuotes(std::string_view field) {
  return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

// Reads a quoted field from the opening quote at `offset`; leaves `offset` after the
// closing quote. False when the text ends inside the quotes.
bool ReadQuoted(std::string_view text, std::size_t& offset, int& line, std::string& field) {
  ++offset;
  while (offset < text.size()) {
    const char c = text[offset++];
    if (c == '"') {
      if (offset < text.size() && text[offset] == '"') {
        field += '"';
        ++offset;
        continue;
      }
      return true;
    }
    if (c == '\n') {
      ++line;
    }
    field += c;
  }
  return false;
}

// True (and moves past it) when a line end stands at `offset`.
// Room for a data log's row from the start, so the list is not grown field by field.
constexpr std::size_t kFieldsAtOnce = 24;

bool TakeLineEnd(std::string_view text, std::size_t& offset) {
  if (text.substr(offset, 2) == "\r\n") {
    offset += 2;
    return true;
  }
  if (offset < text.size() && text[offset] == '\n') {
    ++offset;
    return true;
  }
  return false;
}

}  // namespace

void AppendCsvField(std::string& row, std::string_view field) {
  if (!NeedsQuotes(field)) {
    row += field;
    return;
  }
  row += '"';
  for (const char c : field) {
    if (c == '"') {
      row += '"';
    }
    row += c;
  }
  row += '"';
}

CsvRecord NextCsvRecord(std::string_view text, std::size_t& offset, int& line) {
  CsvRecord record;
  record.line = line;
  record.fields.reserve(kFieldsAtOnce);
  std::string field;
  while (true) {
    const bool quoted = offset < text.size() && text[offset] == '"';
    if (quoted && !ReadQuoted(text, offset, line, field)) {
      record.badQuotes = true;
    }
    // The rest of the field up to a separator or a line end ("\n" or "\r\n"), taken at once:
    // a long log has hundreds of thousands of fields.
    const std::size_t start = offset;
    bool quoteInside = false;
    for (; offset < text.size(); ++offset) {
      const char c = text[offset];
      if (c == ',' || c == '\n' ||
          (c == '\r' && offset + 1 < text.size() && text[offset + 1] == '\n')) {
        break;
      }
      quoteInside = quoteInside || c == '"';
    }
    // Nothing may follow a closing quote but the separator or the line end.
    record.badQuotes = record.badQuotes || quoteInside || (quoted && offset > start);
    field.append(text.substr(start, offset - start));
    record.fields.push_back(std::move(field));
    field.clear();
    if (offset < text.size() && text[offset] == ',') {
      ++offset;
      continue;
    }
    record.ended = TakeLineEnd(text, offset);
    if (record.ended) {
      ++line;
    }
    return record;
  }
}

}  // namespace zav
