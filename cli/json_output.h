#pragma once
// Machine-readable output: one JSON object per command, indented, on standard output.

#include <QJsonObject>
#include <string>

#include "cli/cli_context.h"
#include "link/link_state.h"

namespace zav::cli {

// Indented, with register numbers as keys in numeric order ("80" ... "102"), then the other
// keys by name; Qt alone would sort "100" before "80".
std::string JsonText(const QJsonObject& object);
void PrintJson(const CliContext& cli, const QJsonObject& object);
// Each register of the image from `first` to `last` by number: caption, unit, value.
QJsonObject RegistersJson(const RegisterImage& image, std::uint8_t first, std::uint8_t last);

}  // namespace zav::cli
