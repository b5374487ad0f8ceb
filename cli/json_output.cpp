#include "cli/json_output.h"

#include <QJsonDocument>

#include "cli/command_line.h"
#include "cli/register_rows.h"
#include "params/parameter_set.h"

namespace zav::cli {

void PrintJson(const CliContext& cli, const QJsonObject& object) {
  Print(cli, QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString());
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
