#include "cli/json_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

#include "cli/command_line.h"
#include "cli/register_rows.h"
#include "params/parameter_set.h"

namespace zav::cli {

namespace {

constexpr int kIndent = 4;  // spaces per level, as Qt's indented JSON

bool IsNumber(const QString& key) {
  return !key.isEmpty() && std::all_of(key.begin(), key.end(), [](QChar c) { return c.isDigit(); });
}

// Register numbers in numeric order ("80" before "100"), then the other keys by name.
bool KeyBefore(const QString& left, const QString& right) {
  if (IsNumber(left) != IsNumber(right)) {
    return IsNumber(left);
  }
  if (IsNumber(left)) {
    return left.size() != right.size() ? left.size() < right.size() : left < right;
  }
  return left < right;
}

// A string, number, true, false or null as JSON, escaped by Qt.
QByteArray ScalarText(const QJsonValue& value) {
  const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return wrapped.mid(1, wrapped.size() - 2);
}

void AppendValue(QByteArray& out, const QJsonValue& value, int depth);

void AppendObject(QByteArray& out, const QJsonObject& object, int depth) {
  if (object.isEmpty()) {
    out += "{}";
    return;
  }
  QStringList keys = object.keys();
  std::sort(keys.begin(), keys.end(), KeyBefore);
  const QByteArray inner((depth + 1) * kIndent, ' ');
  out += "{\n";
  for (qsizetype i = 0; i < keys.size(); ++i) {
    out += inner + ScalarText(keys[i]) + ": ";
    AppendValue(out, object.value(keys[i]), depth + 1);
    out += i + 1 < keys.size() ? ",\n" : "\n";
  }
  out += QByteArray(depth * kIndent, ' ') + "}";
}

void AppendArray(QByteArray& out, const QJsonArray& array, int depth) {
  if (array.isEmpty()) {
    out += "[]";
    return;
  }
  const QByteArray inner((depth + 1) * kIndent, ' ');
  out += "[\n";
  for (qsizetype i = 0; i < array.size(); ++i) {
    out += inner;
    AppendValue(out, array.at(i), depth + 1);
    out += i + 1 < array.size() ? ",\n" : "\n";
  }
  out += QByteArray(depth * kIndent, ' ') + "]";
}

void AppendValue(QByteArray& out, const QJsonValue& value, int depth) {
  if (value.isObject()) {
    AppendObject(out, value.toObject(), depth);
  } else if (value.isArray()) {
    AppendArray(out, value.toArray(), depth);
  } else {
    out += ScalarText(value);
  }
}

}  // namespace

std::string JsonText(const QJsonObject& object) {
  QByteArray out;
  AppendObject(out, object, 0);
  out += '\n';
  return out.toStdString();
}

void PrintJson(const CliContext& cli, const QJsonObject& object) {
  Print(cli, JsonText(object));
}

QJsonObject RegistersJson(const RegisterImage& image, std::uint8_t first, std::uint8_t last) {
  QJsonObject registers;
  for (unsigned address = first; address <= last; ++address) {
    const auto shortAddress = static_cast<std::uint8_t>(address);
    const RegisterRow row = RowOf(shortAddress);
    registers.insert(
        QString::number(address),
        QJsonObject{{"caption",
                     QString::fromUtf8(row.caption.data(), static_cast<int>(row.caption.size()))},
                    {"unit", QString::fromUtf8(row.unit.data(), static_cast<int>(row.unit.size()))},
                    {"value", RegisterValue(image, shortAddress)}});
  }
  return registers;
}

}  // namespace zav::cli
