#pragma once
// Machine-readable output: one JSON object per command, indented, on standard output.

#include <QJsonObject>

#include "cli/cli_context.h"
#include "link/link_state.h"

namespace zav::cli {

void PrintJson(const CliContext& cli, const QJsonObject& object);
// Each register of the image from `first` to `last` by number: caption, unit, value.
QJsonObject RegistersJson(const RegisterImage& image, std::uint8_t first, std::uint8_t last);

}  // namespace zav::cli
